// The list check's controller: the question before a DVB98 save of lists with errors, the
// option that turns it off, Remove duplicates with its undo, showing a finding's channel, and
// findings that follow the lists while watched.
#include "app/check_controller.h"

#include <QSignalSpy>
#include <QtTest>

#include "controller_fixture.h"
#include "support/channel_builder.h"

namespace qel {

using Answer = Prompter::Answer;
using test::ControllerFixture;
using test::DvbRecord;
using test::tunedRecord;

namespace {

// A controller fixture with the check wired into the file commands as the program wires it.
struct CheckFixture : ControllerFixture {
    CheckController check{session, list(), editing(), prompter};
    CheckFixture() {
        files().setWriteCheck(
            [this] { return check.mayWrite(FileKind::DVB, CheckController::Purpose::Save); });
    }
    // Loads a list: a header, then the records given.
    bool loadRecords(const std::string& records) {
        return load(write("list.dvb", DvbRecord().name("SAT").freqMHz(0).bytes() + records));
    }
    void setAsking(bool on) {
        Config c = session.config();
        c.askOnCheckErrors = on;
        session.setConfig(c);
    }
};

}  // namespace

class CheckControllerTest : public QObject {
    Q_OBJECT

private slots:
    // Only errors ask, and only before a DVB98 save: an image's writer refuses what it
    // cannot hold itself.
    void saveAsksOnErrorsOnly() {
        const struct {
            const char* third;  // what the third record is
            bool asking;        // the option
            Answer answer;
            bool asked, saved;
            const char* target;
        } cases[] = {
            {"pid", true, Answer::No, true, false, "saved.dvb"},
            {"pid", true, Answer::Yes, true, true, "saved.dvb"},
            {"pid", false, Answer::No, false, true, "saved.dvb"},
            {"duplicate", true, Answer::No, false, true, "saved.dvb"},
            {"good", true, Answer::No, false, true, "saved.dvb"},
            {"pid", true, Answer::No, false, true, "image.bin"},
        };
        for (const auto& c : cases) {
            CheckFixture f;
            const std::string third = c.third;
            std::string records = tunedRecord("ONE", 1).bytes() + tunedRecord("TWO", 2).bytes();
            if (third == "pid") records += tunedRecord("BAD", 3).VPid(0x2000).bytes();
            if (third == "duplicate") records += tunedRecord("ONE AGAIN", 1).bytes();
            if (third == "good") records += tunedRecord("THREE", 3).bytes();
            QVERIFY(f.loadRecords(records));
            f.setAsking(c.asking);
            f.prompter.answer(c.answer);
            const QString target = f.dir.filePath(c.target);
            f.run(&FileController::saveChannels, target);
            QCOMPARE(f.prompter.asked.size(), c.asked ? 1 : 0);
            if (c.asked) {
                const auto& q = f.prompter.asked.front();
                QCOMPARE(q.buttons, Prompter::Buttons::YesNo);
                QCOMPARE(q.defaultAnswer, Answer::No);
                QCOMPARE(q.text, QString("The check finds 1 error(s) in the lists that the "
                                         "receiver cannot take.\nThe first: TV, row 4 \"BAD\": "
                                         "PID 2000 is above 1FFF\n\nSave the list all the same?"));
            }
            QCOMPARE(QFile::exists(target), c.saved);
            QCOMPARE(f.session.channelFile() == target, c.saved);
        }
    }

    void uploadQuestionNamesTheCountAndTheFirst() {
        CheckFixture f;
        QVERIFY(f.loadRecords(tunedRecord("A", 1).fecCode(8).bytes() +
                              tunedRecord("B", 2).VPid(0x2000).bytes()));
        f.prompter.answer(Answer::Yes);
        QVERIFY(f.check.mayWrite(FileKind::DVB, CheckController::Purpose::Upload));
        QCOMPARE(f.prompter.texts().front(),
                 QString("The check finds 2 error(s) in the lists that the receiver cannot take.\n"
                         "The first: TV, row 2 \"A\": FEC code \"6\" is outside 0-5\n\n"
                         "Start the upload all the same?"));
        f.prompter.answer(Answer::No);
        QVERIFY(!f.check.mayWrite(FileKind::DVB, CheckController::Purpose::Upload));
    }

    void removeDuplicatesIsOneUndoableStep() {
        CheckFixture f;
        const QString path = f.dvb("dups.dvb", 4, 3);  // the RADIO channels are all alike
        QVERIFY(f.load(path));
        // TV: a header and three channels; add two copies of "TV 2" at the end.
        f.ws().changeLists(kTouchTV, [](EditableLists& l) {
            l.tv.push_back(l.tv[2]);
            l.tv.push_back(l.tv[2]);
        });
        const ChannelList tvBefore = f.ws().tvList();
        const ChannelList radioBefore = f.ws().radioList();
        // The last copy selected, with marks on a kept channel and on both copies.
        f.list().select(6, {1, 4, 5});
        f.check.setWatching(true);
        QVERIFY(f.check.hasDuplicates());
        const std::size_t steps = f.editing().history().size();

        f.check.removeDuplicates();
        QCOMPARE(f.ws().tvList().size(), 4u);
        QCOMPARE(f.ws().radioList().size(), 1u);
        QVERIFY(f.ws().channelsModified());
        QCOMPARE(f.editing().history().size(), steps + 1);
        // The selection and the marks moved to the channel each copy stood for.
        QCOMPARE(f.list().selectedRow(), 3);
        QCOMPARE(f.list().marks(), (Marks{1, 2}));
        QVERIFY(!f.check.hasDuplicates());  // the findings followed

        f.editing().undo();
        QCOMPARE(f.ws().tvList(), tvBefore);
        QCOMPARE(f.ws().radioList(), radioBefore);
        QCOMPARE(f.list().selectedRow(), 6);
        QVERIFY(f.check.hasDuplicates());
        f.editing().redo();
        QCOMPARE(f.ws().tvList().size(), 4u);
        QCOMPARE(f.ws().radioList().size(), 1u);

        // Nothing left to remove: no step.
        const std::size_t after = f.editing().history().size();
        f.check.removeDuplicates();
        QCOMPARE(f.editing().history().size(), after);
    }

    void showFindingSelectsItsChannelInItsList() {
        CheckFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 4, 3)));
        f.check.setWatching(true);
        const auto& found = f.check.findings();
        const auto radio = std::find_if(found.begin(), found.end(),
                                        [](const Finding& x) { return x.list == ListId::Radio; });
        QVERIFY(radio != found.end());
        QCOMPARE(f.ws().shownList(), ListId::TV);
        f.check.showFinding(static_cast<std::size_t>(radio - found.begin()));
        QCOMPARE(f.ws().shownList(), ListId::Radio);
        QCOMPARE(f.list().selectedRow(), radio->row);
        QCOMPARE(f.list().marks(), (Marks{static_cast<std::size_t>(radio->row - 1)}));
        f.check.showFinding(found.size());  // past the end: nothing
        QCOMPARE(f.ws().shownList(), ListId::Radio);
    }

    void findingsFollowTheListsWhileWatched() {
        CheckFixture f;
        QVERIFY(f.loadRecords(tunedRecord("A", 1).bytes()));
        QSignalSpy changed(&f.check, &CheckController::findingsChanged);
        f.check.setWatching(true);
        QVERIFY(f.check.findings().empty());
        const auto addBad = [&f] {
            f.ws().changeLists(kTouchTV, [](EditableLists& l) {
                l.tv.push_back(l.tv[1]);
                l.tv.back().VPid = "2000";
                l.tv.back().SerId = "0009";
            });
        };
        addBad();
        QCOMPARE(f.check.findings().size(), 1u);
        QCOMPARE(f.check.findings()[0].field, std::string("VPid"));
        QCOMPARE(f.check.message(f.check.findings()[0]), QString("PID 2000 is above 1FFF"));
        f.language.apply("ITA");
        QCOMPARE(f.check.message(f.check.findings()[0]), QString("Il PID 2000 supera 1FFF"));
        QCOMPARE(CheckController::levelText(FindingLevel::Warning), QString("Avviso"));
        f.language.apply("ENG");
        const int emitted = static_cast<int>(changed.count());
        f.check.setWatching(false);
        addBad();
        QCOMPARE(changed.count(), emitted);
        QCOMPARE(f.check.findings().size(), 1u);  // not checked again while closed
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::CheckControllerTest)
#include "check_controller_test.moc"
