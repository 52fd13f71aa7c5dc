// The check window in the program: opened by "Check list" (F7), its table, a row activated
// selecting the channel in the main list, Remove duplicates and its undo, the table following
// the lists, and the check against a satellites.xml with its remembered choices.
#include "ui/check_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "support/channel_builder.h"
#include "ui_fixture.h"

namespace qel {

using test::DvbRecord;
using test::UiFixture;

namespace {

struct CheckUi : UiFixture {
    CheckUi() {
        // TV: a header, two channels, a copy of the first and a channel with a PID above 1FFF.
        const auto channel = test::tunedRecord;
        load(write("list.dvb", DvbRecord().name("SAT").freqMHz(0).bytes() +
                                   channel("ONE", 1).bytes() + channel("TWO", 2).bytes() +
                                   channel("ONE COPY", 1).bytes() +
                                   channel("BAD", 3).VPid(0x2000).bytes()));
    }
    CheckWindow* open() {
        action("CheckList")->trigger();
        return program->checkWindow();
    }
    QString cell(int row, int column) const {
        const QTableWidgetItem* item = program->checkWindow()->table()->item(row, column);
        return item != nullptr ? item->text() : QString();
    }
};

}  // namespace

class CheckWindowTest : public QObject {
    Q_OBJECT

private slots:
    void checkListOpensTheTableOfFindings() {
        CheckUi f;
        QCOMPARE(f.action("CheckList")->shortcut(), QKeySequence(Qt::Key_F7));
        CheckWindow* w = f.open();
        QVERIFY(w != nullptr);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("QEL - Check list"));
        QCOMPARE(w->table()->rowCount(), 2);
        const QStringList first = {"Warning",  "TV", "4",
                                   "ONE COPY", "",   "Same service and PIDs as row 2"};
        const QStringList second = {"Error", "TV", "5", "BAD", "VPid", "PID 2000 is above 1FFF"};
        for (int c = 0; c < CheckWindow::kColumns; ++c) {
            QCOMPARE(f.cell(0, c), first[c]);
            QCOMPARE(f.cell(1, c), second[c]);
        }
        QCOMPARE(w->summary()->text(), QString("1 error(s), 1 warning(s)"));
        QVERIFY(w->removeDuplicatesButton()->isEnabled());
        // The command again brings the same window forward.
        QCOMPARE(f.open(), w);
    }

    void activatingARowSelectsTheChannel() {
        CheckUi f;
        CheckWindow* w = f.open();
        // Which row a finding selects is the check controller tests'; the main list shows it.
        emit w->table()->itemActivated(w->table()->item(1, CheckWindow::kMessage));
        QCOMPARE(f.markedRows(), QList<int>{5});
        QCOMPARE(f.form->listView()->currentIndex().row(), 4);
    }

    void removeDuplicatesAndUndoRedrawTheTable() {
        CheckUi f;
        CheckWindow* w = f.open();
        // What the removal and its undo do to the lists is the check controller tests'.
        QTest::mouseClick(w->removeDuplicatesButton(), Qt::LeftButton);
        QCOMPARE(w->table()->rowCount(), 1);
        QCOMPARE(f.cell(0, CheckWindow::kRow), QString("4"));
        QVERIFY(!w->removeDuplicatesButton()->isEnabled());
        f.action("Undomnu")->trigger();
        QCOMPARE(w->table()->rowCount(), 2);
        QVERIFY(w->removeDuplicatesButton()->isEnabled());
    }

    void closedWindowsDoNotFollowButReopenCurrent() {
        CheckUi f;
        CheckWindow* w = f.open();
        w->close();
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.pop_back(); });
        QCOMPARE(w->table()->rowCount(), 2);  // not redrawn while closed
        f.open();
        QCOMPARE(w->table()->rowCount(), 1);
        QCOMPARE(w->summary()->text(), QString("0 error(s), 1 warning(s)"));
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.pop_back(); });
        QCOMPARE(w->table()->rowCount(), 0);
        QCOMPARE(w->summary()->text(),
                 QString("Nothing found: the lists are ready for the receiver."));
        // Lists without a channel are not ready for anything: there was nothing to check.
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.clear(); });
        QCOMPARE(w->summary()->text(), QString("Nothing to check: the lists hold no channels."));
    }

    // The file is chosen, the header's satellite picked; the channels whose symbol rate the
    // file does not have are warned about, taken over in one undoable step, and the choice
    // comes back with the list.
    void aSatellitesXmlChecksTheChannelsUnderTheirHeader() {
        CheckUi f;
        const QString xml =
            f.write("satellites.xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<satellites>\n"
                    "  <sat name=\"Hot Bird 13.0E\" flags=\"0\" position=\"130\">\n"
                    "    <transponder frequency=\"11766000\" symbol_rate=\"22000000\" "
                    "polarization=\"0\" fec_inner=\"3\" system=\"0\" modulation=\"1\"/>\n"
                    "  </sat>\n</satellites>\n");
        CheckWindow* w = f.open();
        QVERIFY(w->assignments()->rowCount() == 0);
        QVERIFY(!w->chooseSatellitesButton()->isVisible());
        w->showSatellitesButton()->click();
        f.chooser.choose(xml);
        w->chooseSatellitesButton()->click();
        QCOMPARE(w->satellitesLabel()->text(),
                 QString("satellites.xml: 1 satellite(s), 1 transponder(s)"));
        QCOMPARE(w->assignments()->rowCount(), 1);
        QCOMPARE(w->assignments()->item(0, 0)->text(), QString("SAT"));
        QCOMPARE(w->table()->rowCount(), 2);  // nothing checked before a satellite is chosen
        w->satelliteChoice(0)->setCurrentIndex(1);
        QCOMPARE(w->satelliteChoice(0)->currentText(), QString("13.0E Hot Bird 13.0E"));
        // ONE, TWO, ONE COPY and BAD have 27500 ksym/s; the file's transponder 22000.
        QCOMPARE(w->table()->rowCount(), 6);
        QCOMPARE(f.cell(2, CheckWindow::kField), QString("Srate"));
        QVERIFY(f.cell(2, CheckWindow::kMessage).contains("22000"));

        f.prompter.answer(Prompter::Answer::Yes);
        w->takeOverButton()->click();
        QCOMPARE(f.ws().tvList()[1].Srate.view(), "220000");
        QCOMPARE(f.ws().tvList()[1].Fec.view(), "3");
        QCOMPARE(w->table()->rowCount(), 2);
        f.action("Undomnu")->trigger();
        QCOMPARE(f.ws().tvList()[1].Srate.view(), "275000");
        QCOMPARE(w->table()->rowCount(), 6);

        // Another list has choices of its own; this one's come back with it.
        QVERIFY(f.load(f.write("other.dvb", test::tunedRecord("X", 9).bytes())));
        QCOMPARE(w->assignments()->item(0, 0)->text(), QString("DiSEqC port 1"));
        QCOMPARE(w->satelliteChoice(0)->currentIndex(), 0);
        QVERIFY(f.load(f.dir.filePath("list.dvb")));
        QCOMPARE(w->satelliteChoice(0)->currentIndex(), 1);
        QCOMPARE(w->table()->rowCount(), 6);
        QVERIFY(!w->fillButton()->isVisible());  // an FTA image's
    }

    // An FTA image's antenna gets the transponders of its satellite as one undoable step;
    // what the image cannot hold is refused with the count.
    void anAntennasTranspondersAreFilledFromItsSatellite() {
        UiFixture f;
        QVERIFY(f.load(f.bin("img.bin")));  // one channel, antenna 2, 11766 MHz H 27500
        std::string many;
        for (int i = 0; i < 300; ++i)
            many += "<transponder frequency=\"" + std::to_string(10700000 + i * 5000) +
                    "\" symbol_rate=\"27500000\" polarization=\"1\"/>";
        const QString xml =
            f.write("sats.xml",
                    "<satellites><sat name=\"Hot Bird\" position=\"130\">"
                    "<transponder frequency=\"11766000\" symbol_rate=\"27500000\" "
                    "polarization=\"0\" fec_inner=\"3\"/><transponder frequency=\"12000000\" "
                    "symbol_rate=\"27500000\" polarization=\"1\" fec_inner=\"3\"/></sat>"
                    "<sat name=\"Crowded\" position=\"-300\">" +
                        many + "</sat></satellites>");
        f.action("CheckList")->trigger();
        CheckWindow* w = f.program->checkWindow();
        f.chooser.choose(xml);
        w->chooseSatellitesButton()->click();
        QCOMPARE(w->assignments()->item(0, 0)->text(), QString("Antenna 2"));
        QVERIFY(w->fillButton()->isVisible());
        w->assignments()->setCurrentCell(0, 0);
        QVERIFY(!w->fillButton()->isEnabled());  // no satellite chosen yet
        w->satelliteChoice(0)->setCurrentIndex(1);
        QVERIFY(w->fillButton()->isEnabled());
        w->fillButton()->click();
        QCOMPARE(f.prompter.asked.last().text,
                 QString("Antenna 2 now has the transponders of 13.0E Hot Bird: 0 channel(s) "
                         "refreshed, 1 transponder entries added, 0 earlier ones dropped."));
        QCOMPARE(f.ws().radioList().size(), std::size_t{1});
        QCOMPARE(f.ws().radioList()[0].ChName.view().substr(0, 16), "TP 12000 V 27500");
        f.action("Undomnu")->trigger();
        QVERIFY(f.ws().radioList().empty());

        w->satelliteChoice(0)->setCurrentIndex(2);
        w->fillButton()->click();
        QVERIFY(f.prompter.asked.last().text.startsWith(
            "The image cannot hold the transponders of 30.0W Crowded: "));
        QVERIFY(f.prompter.asked.last().text.endsWith(" of 300 fit."));
        QVERIFY(f.ws().radioList().empty());
    }

    void nothingLoadedIsNothingToCheck() {
        UiFixture f;
        f.action("CheckList")->trigger();
        QCOMPARE(f.program->checkWindow()->table()->rowCount(), 0);
        QCOMPARE(f.program->checkWindow()->summary()->text(),
                 QString("Nothing to check: the lists hold no channels."));
    }
};

}  // namespace qel

QTEST_MAIN(qel::CheckWindowTest)
#include "check_window_test.moc"
