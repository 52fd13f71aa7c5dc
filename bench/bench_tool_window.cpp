// Where a tool window opens: the place over a frame that fills a 1920x1080 screen, with the
// three areas it keeps clear (the worst case: every place covers the frame).
#include <benchmark/benchmark.h>

#include "ui/window_placement.h"

namespace {

void BM_ToolWindowPlace(benchmark::State& state) {
    const QRect screen(0, 0, 1920, 1080);
    const QList<QRect> keepClear{QRect(1820, 62, 60, 18), QRect(1700, 30, 200, 24),
                                 QRect(1872, 0, 48, 24)};
    int shift = 0;
    for (auto _ : state) {
        const QSize child(419 + shift, 520);
        benchmark::DoNotOptimize(qel::toolWindowPlace(screen, child, screen, keepClear));
        shift = (shift + 1) % 64;
    }
}
BENCHMARK(BM_ToolWindowPlace);

}  // namespace
