// Every editing command changes the lists through the document, so the change is announced:
// the windows redraw, the title and the command states follow, nothing is changed silently.
#include "app/editing_controller.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "app/list_controller.h"
#include "app/session.h"
#include "controller_fixture.h"
#include "listedit/attributes.h"
#include "support/channel_builder.h"
#include "support/scripted_ui.h"
#include "support/workspace_builder.h"

using EditCommand = std::function<void(qel::EditingController&, qel::ListController&)>;
Q_DECLARE_METATYPE(EditCommand)

namespace qel {

class EditingControllerTest : public QObject {
    Q_OBJECT

    struct Setup {
        Session session;
        test::ScriptedPrompter prompter;
        ListController list{session};
        EditingController editing{session, list, prompter};
        Setup() {
            ChannelList tv;
            for (int i = 1; i <= 6; ++i) {
                tv.push_back(
                    test::Channel("C" + std::to_string(i)).Freq(i == 1 ? "00000000" : "01100000"));
            }
            session.workspace().installChannels({{tv, {test::Channel("R1")}}, FileKind::DVB, {}});
            test::setBuffer(session.workspace(), {test::Channel("B2"), test::Channel("B1")});
            prompter.fallback = Prompter::Answer::Yes;
            prompter.rotorPosition = [](int) { return 5; };
            list.select(3, {1, 2});
        }
    };

private slots:
    void everyCommandAnnouncesItsChange_data() {
        QTest::addColumn<EditCommand>("command");
        QTest::addColumn<unsigned>("changes");  // the lists' changes announced
        const unsigned tv = kChannelsChanged;
        const unsigned both = kChannelsChanged | kBufferChanged;
        const auto row = [](const char* name, EditCommand c, unsigned changes) {
            QTest::newRow(name) << c << changes;
        };
        row(
            "insert", [](EditingController& e, ListController&) { e.insertChannel(); }, tv);
        row(
            "delete", [](EditingController& e, ListController&) { e.deleteMarked(); }, tv);
        row(
            "move to buffer", [](EditingController& e, ListController&) { e.moveToBuffer(); },
            both);
        row(
            "paste all", [](EditingController& e, ListController&) { e.pasteAll(); }, both);
        row(
            "paste special",
            [](EditingController& e, ListController&) { e.pasteFromBuffer({1}, true); }, both);
        row(
            "attribute",
            [](EditingController& e, ListController&) { e.setAttribute(setVoltage, 1); }, tv);
        row(
            "rotor position",
            [](EditingController& e, ListController& l) {
                l.select(1, {0});  // the satellite header
                e.assignRotorPosition();
            },
            tv);
        row(
            "move rows", [](EditingController& e, ListController&) { e.moveMarkedBefore(6); }, tv);
        row(
            "sort buffer",
            [](EditingController& e, ListController&) { e.sortBuffer(BufferOrder::ByName); },
            kBufferChanged);
        row(
            "delete from buffer",
            [](EditingController& e, ListController&) { e.deleteFromBuffer({0}); }, kBufferChanged);
        row(
            "clear buffer", [](EditingController& e, ListController&) { e.clearBuffer(); },
            kBufferChanged);
        row(
            "store channel",
            [](EditingController& e, ListController&) {
                ChannelRec before = test::Channel("C2").Freq("01100000");
                ChannelRec after = before;
                after.ChName = "RENAMED";
                QVERIFY(e.storeChannel(ListId::TV, 2, before, after));
            },
            tv);
        row(
            "undo",
            [](EditingController& e, ListController&) {
                e.moveToBuffer();
                e.undo();
            },
            both);
        row(
            "redo",
            [](EditingController& e, ListController&) {
                e.moveToBuffer();
                e.undo();
                e.redo();
            },
            both);
    }

    void everyCommandAnnouncesItsChange() {
        QFETCH(EditCommand, command);
        QFETCH(unsigned, changes);
        Setup s;
        const Workspace before = s.session.workspace();
        QSignalSpy lists(&s.session, &Session::listsChanged);
        QSignalSpy state(&s.session, &Session::stateChanged);
        QSignalSpy rows(&s.list, &ListController::rowsChanged);
        command(s.editing, s.list);

        unsigned announced = 0;
        for (const QList<QVariant>& args : lists)
            announced |= args.at(0).toUInt();
        QCOMPARE(announced & (kChannelsChanged | kBufferChanged), changes);
        // The channels are marked modified (undo goes back to the loaded ones; the buffer is
        // never saved, so a change of the buffer alone marks nothing), and the state change
        // is announced too.
        const bool undone = QByteArray(QTest::currentDataTag()) == "undo";
        const bool marks = (changes & kChannelsChanged) != 0 && !undone;
        QCOMPARE(s.session.workspace().channelsModified(), marks);
        QCOMPARE(!state.isEmpty(), marks || undone);
        // The main list redraws whenever its channels changed.
        QCOMPARE(!rows.isEmpty(), (changes & kChannelsChanged) != 0);
        const bool changedLists = s.session.workspace().tvList() != before.tvList() ||
                                  s.session.workspace().bufferList() != before.bufferList();
        QCOMPARE(changedLists, !undone);
    }

    void aCommandThatChangesNothingAnnouncesNothingAndLeavesNoStep() {
        Setup s;
        s.list.select(1, {0});  // the satellite header: the parental lock skips it
        QSignalSpy state(&s.session, &Session::stateChanged);
        s.editing.setAttribute(setParentalLock, 1);
        QVERIFY(!s.session.workspace().channelsModified());
        QVERIFY(state.isEmpty());
        QVERIFY(!s.editing.canUndo());
    }
    void theBufferAloneNeverMarksTheChannelsModified() {
        test::ControllerFixture r;
        QVERIFY(r.load(r.dvb("list.dvb", 2, 0)));
        test::setBuffer(r.ws(), {test::Channel("b"), test::Channel("a"), test::Channel("c")});
        r.editing().sortBuffer(BufferOrder::ByName);
        r.editing().deleteFromBuffer({0});
        r.prompter.answer(Prompter::Answer::Yes);
        r.editing().clearBuffer();
        QVERIFY(r.ws().bufferList().empty());
        QVERIFY(!r.ws().channelsModified());
        QVERIFY(r.editing().canUndo());  // still undoable
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::EditingControllerTest)
#include "editing_controller_test.moc"
