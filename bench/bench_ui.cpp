// The main list on the largest lists: filling 3071 rows and switching TV/RADIO.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "app/session.h"
#include "model/conversions.h"
#include "ui/main_form.h"
#include "ui/prompter.h"

namespace {

using namespace qel;

class SilentPrompter : public Prompter {
public:
    Answer Ask(Icon, const QString&, Buttons) override { return Answer::Ok; }
};

class NoFiles : public FileChooser {
public:
    QString OpenFile(const QString&, const QString&) override { return {}; }
    QString SaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

QApplication& App() {
    static int argc = 1;
    static char name[] = "qel-bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void FillSession(Session& s) {
    for (std::size_t i = 0; i < 3071; ++i) {
        ChannelRec ch = EmptyChannel();
        ch.ChName = "CHANNEL " + std::to_string(i);
        ch.Freq = ZeroPadDecimal(static_cast<std::int64_t>(10700 + i % 2000), 6) + "00";
        ch.Parental = i % 7 == 0 ? "1" : "0";
        (i < 2000 ? s.ws.TVList : s.ws.RadioList).push_back(ch);
    }
    s.ws.FileType = FileKind::DVB;
}

// A shown main window over a session holding the largest lists.
struct Shown {
    QApplication& app = App();  // before any widget
    Session session;
    SilentPrompter prompter;
    NoFiles chooser;
    MainForm form{session, prompter, chooser};
    Shown() {
        FillSession(session);
        form.resize(640, 480);
        form.show();
    }
};

void BM_FillList3071(benchmark::State& state) {
    Shown w;
    auto& tv = w.session.ws.TVList;
    const auto& radio = w.session.ws.RadioList;
    tv.insert(tv.end(), radio.begin(), radio.end());  // 3071 TV channels
    int row = 1;
    for (auto _ : state) {
        w.form.Fill_List(row);
        row = row % 3071 + 1000;
        QCoreApplication::processEvents();  // the view lays out and paints its rows
    }
}
BENCHMARK(BM_FillList3071)->Unit(benchmark::kMillisecond);

void BM_SwitchTvRadio3071(benchmark::State& state) {
    Shown w;
    w.form.Fill_List(1);
    for (auto _ : state) {
        w.form.SwitchList();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchTvRadio3071)->Unit(benchmark::kMillisecond);

}  // namespace
