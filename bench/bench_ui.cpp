// The main list on the largest lists: filling 3071 rows and switching TV/RADIO; and their
// export laid out as a PDF.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "app/list_controller.h"
#include "app/session.h"
#include "bytes/conversions.h"
#include "files/text_export.h"
#include "print/page_printer.h"
#include "ui/main_window.h"

namespace {

using namespace qel;

QApplication& benchApplication() {
    static int argc = 1;
    static char name[] = "qel-bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The largest lists: 3071 channels, `tvCount` of them TV.
ChannelSet largestLists(std::size_t tvCount) {
    ChannelSet set;
    for (std::size_t i = 0; i < 3071; ++i) {
        ChannelRec ch = emptyChannel();
        ch.ChName = "CHANNEL " + std::to_string(i);
        ch.Freq = zeroPadDecimal(static_cast<std::int64_t>(10700 + i % 2000), 6) + "00";
        ch.Parental = i % 7 == 0 ? "1" : "0";
        (i < tvCount ? set.lists.tv : set.lists.radio).push_back(ch);
    }
    return set;
}

// A shown main window over a session holding the largest lists.
struct Shown {
    QApplication& app = benchApplication();  // before any widget
    Session session;
    ListController list{session};
    MainWindow form{session, list};
    explicit Shown(std::size_t tvCount) {
        session.workspace().installChannels(largestLists(tvCount));
        form.resize(640, 480);
        form.show();
    }
};

void BM_FillList3071(benchmark::State& state) {
    Shown w(3071);
    int row = 1;
    for (auto _ : state) {
        // The rows are drawn again, then the selection.
        w.session.workspace().changeLists(kTouchTV, [](EditableLists&) {});
        w.list.selectOnly(row);
        row = row % 3071 + 1000;
        QCoreApplication::processEvents();  // the view lays out and paints its rows
    }
}
BENCHMARK(BM_FillList3071)->Unit(benchmark::kMillisecond);

void BM_SwitchTvRadio3071(benchmark::State& state) {
    Shown w(2000);
    w.list.selectOnly(1);
    for (auto _ : state) {
        w.list.switchList();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchTvRadio3071)->Unit(benchmark::kMillisecond);

// Every page of the largest lists' headed export on its own A4 sheet of a PDF.
void BM_Pdf3071(benchmark::State& state) {
    benchApplication();
    const ChannelSet set = largestLists(2500);
    const ExportTexts texts{"QEL - Version 0.1.0", "channels.dvb", "01/01/26", "TV", "RADIO",
                            "hexadecimal",         "decimal",      "Name"};
    const std::vector<std::string> pages =
        exportPages(set.lists.tv, set.lists.radio, ExportOptions{}, texts);
    const QPageLayout layout = pdfPageLayout(pages);
    for (auto _ : state) {
        QByteArray pdf = pdfDocument(pages, layout, QStringLiteral("channels.dvb"));
        benchmark::DoNotOptimize(pdf);
    }
    state.counters["pages"] = static_cast<double>(pages.size());
}
BENCHMARK(BM_Pdf3071)->Unit(benchmark::kMillisecond);

}  // namespace
