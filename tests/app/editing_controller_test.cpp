// Every editing command changes the lists through the document, so the change is announced:
// the windows redraw, the title and the command states follow, nothing is changed silently.
#include "app/editing_controller.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "app/list_controller.h"
#include "app/session.h"
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
        using E = EditingController;
        using L = ListController;
        const auto row = [](const char* name, unsigned changes, EditCommand c) {
            QTest::newRow(name) << c << changes;
        };
        row("insert", tv, [](E& e, L&) { e.insertChannel(); });
        row("delete", tv, [](E& e, L&) { e.deleteMarked(); });
        row("move to buffer", both, [](E& e, L&) { e.moveToBuffer(); });
        row("paste all", both, [](E& e, L&) { e.pasteAll(); });
        row("paste special", both, [](E& e, L&) { e.pasteFromBuffer({1}, true); });
        row("attribute", tv, [](E& e, L&) { e.setAttribute(setVoltage, 1); });
        row("rotor position", tv, [](E& e, L& l) {
            l.select(1, {0});  // the satellite header
            e.assignRotorPosition();
        });
        row("move rows", tv, [](E& e, L&) { e.moveMarkedBefore(6); });
        // The buffer is never saved: a change of the buffer alone marks nothing modified,
        // yet it is undoable.
        row("sort buffer", kBufferChanged, [](E& e, L&) { e.sortBuffer(BufferOrder::ByName); });
        row("delete from buffer", kBufferChanged, [](E& e, L&) { e.deleteFromBuffer({0}); });
        row("clear buffer", kBufferChanged, [](E& e, L&) { e.clearBuffer(); });
        row("store channel", tv, [](E& e, L&) {
            ChannelRec before = test::Channel("C2").Freq("01100000");
            ChannelRec after = before;
            after.ChName = "RENAMED";
            QVERIFY(e.storeChannel(ListId::TV, 2, before, after));
        });
        row("undo", both, [](E& e, L&) {
            e.moveToBuffer();
            e.undo();
        });
        row("redo", both, [](E& e, L&) {
            e.moveToBuffer();
            e.undo();
            e.redo();
        });
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
        QCOMPARE(s.editing.canUndo(), !undone);
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
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::EditingControllerTest)
#include "editing_controller_test.moc"
