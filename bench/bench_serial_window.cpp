// The serial window's transfers against qel-receiver-sim --pace, the receiver simulator that
// carries bytes no faster than the line it stands for: a 3071-channel download and upload at
// 38400 baud and an FTA image through the loader at 19200. Each takes real time (two and a half
// minutes in all), so this is a program of its own, not part of qel-bench.
//
// Figures: the seconds the window took; "ideal_s", the same exchange on a simulated line of the
// same speed in virtual time (the bytes' time on the wire plus the waits the exchange makes);
// "ratio" the first over the second; "cpu_pct", the program's processor time (both threads)
// over the time taken, while it mostly waits for the line.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/download.h"
#include "serial/upload.h"
#include "support/paced_receiver.h"
#include "support/temp_dir.h"
#include "ui/serial_window.h"
#include "ui/ui_fixture.h"

namespace {

using namespace qel;
using Clock = std::chrono::steady_clock;

QApplication& benchApplication() {
    static int argc = 1;
    static char name[] = "qel-bench-serial";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop until `done` holds.
template <class Done>
void waitFor(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(20);
    loop.exec();
}

ChannelList namedChannels(int count) {
    ChannelList list;
    for (int i = 0; i < count; ++i)
        list.push_back(test::Channel("PACED " + std::to_string(i)).Freq("01176600"));
    return list;
}

// The program with its serial window open on `device`; no backup before an upload and no
// check after it, so that each figure is one transfer.
struct Window : test::UiFixture {
    SerialWindow* window = nullptr;
    explicit Window(const QString& device) {
        Config config = session.config();
        config.comPortText = device;
        config.backupBeforeUpload = false;
        config.verifyAfterUpload = false;
        session.setConfig(config);
    }
    void open(bool withSettings) {
        form->selectTab(Tab::Serial);
        window = qobject_cast<SerialWindow*>(form->openChild());
        waitFor([this] { return program->serial().portOpen(); });
        window->findChild<QCheckBox*>("IncludeCh")->setChecked(true);
        window->findChild<QCheckBox*>("IncludeDVBsett")->setChecked(withSettings);
    }
    // Presses the button; the seconds until the transfer has ended, and the processor time.
    std::pair<double, double> run(QPushButton* button) {
        SerialController& serial = program->serial();
        const double cpuBefore = cpuSeconds();
        const Clock::time_point start = Clock::now();
        button->click();
        waitFor([&serial] { return !serial.busy(); });
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        return {took, cpuSeconds() - cpuBefore};
    }
};

void report(benchmark::State& state, double took, double cpu, double ideal, bool ok) {
    state.SetIterationTime(took);
    state.counters["ideal_s"] = ideal;
    state.counters["ratio"] = took / ideal;
    state.counters["cpu_pct"] = 100.0 * cpu / took;
    if (!ok) state.SkipWithError("the transfer failed");
}

// The time an exchange takes on a perfect line of `bytesPerSecond`.
template <class Exchange>
double idealSeconds(ReceiverSimulator& receiver, std::size_t bytesPerSecond, Exchange exchange) {
    SimulatedLink link(receiver, bytesPerSecond);
    SilentTransferObserver observer;
    exchange(link, observer);
    return std::chrono::duration<double>(link.elapsed()).count();
}

const std::string& largestImage() {
    static const std::string image = encodeDvb(namedChannels(3000), namedChannels(71));
    return image;
}

void BM_WindowDownload3071(benchmark::State& state) {
    benchApplication();
    test::TempDir dir;
    const std::string path = dir.write("receiver.dvb", largestImage());
    test::PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM),
                            {"--channels", QString::fromStdString(path)});
    ReceiverSimulator reference;
    reference.setChannelImage(largestImage());
    DownloadRequest request;
    request.settings = false;
    const double ideal = idealSeconds(reference, 3840, [&](Link& l, TransferObserver& o) {
        (void)download(l, o, Timing{}, request);
    });
    for (auto _ : state) {
        Window w(sim.device());
        w.open(false);
        const auto [took, cpu] = w.run(w.window->downloadButton());
        report(state, took, cpu, ideal, w.ws().channelCount() == 3071);
        state.counters["wire_ratio"] = took / 51.2;
    }
}
BENCHMARK(BM_WindowDownload3071)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WindowUpload3071(benchmark::State& state) {
    benchApplication();
    test::PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM), {});
    ReceiverSimulator reference;
    UploadRequest request;
    request.channels = true;
    request.channelKind = FileKind::DVB;
    request.channelImage = largestImage();
    request.channelCount = 3071;
    request.backup = false;
    request.verify = false;
    const double ideal = idealSeconds(reference, 3840, [&](Link& l, TransferObserver& o) {
        (void)upload(l, o, Timing{}, request);
    });
    for (auto _ : state) {
        Window w(sim.device());
        w.load(w.write("mine.dvb", largestImage()));
        w.open(false);
        const auto [took, cpu] = w.run(w.window->uploadButton());
        report(state, took, cpu, ideal, w.program->serial().mark(0) == SerialController::Mark::Ok);
        state.counters["wire_ratio"] = took / 51.2;
    }
}
BENCHMARK(BM_WindowUpload3071)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WindowFtaUpload(benchmark::State& state) {
    benchApplication();
    test::PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM), {"--firmware", "fta"});
    for (auto _ : state) {
        Window w(sim.device());
        w.load(w.bin("mine.bin"));
        const std::string path = w.dir.filePath("saved.bin").toStdString();
        const std::string image =
            saveFile(w.ws(), path) ? test::UiFixture::read(w.dir.filePath("saved.bin")) : "";
        ReceiverSimulator reference;
        reference.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        UploadRequest request;
        request.channels = true;
        request.channelKind = FileKind::BIN;
        request.channelImage = image;
        const double ideal = idealSeconds(reference, 1920, [&](Link& l, TransferObserver& o) {
            (void)upload(l, o, Timing{}, request);
        });
        w.open(false);
        const auto [took, cpu] = w.run(w.window->uploadButton());
        report(state, took, cpu, ideal, w.program->serial().mark(0) == SerialController::Mark::Ok);
    }
}
BENCHMARK(BM_WindowFtaUpload)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
