// Every editing command changes the lists through the document, so the change is announced:
// the windows redraw, the title and the command states follow, nothing is changed silently.
// Sort: the dialog's choice reaches the sort of the shown list, which is one undoable step
// that the marks and the selected channel follow.
#include "app/editing_controller.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "app/list_controller.h"
#include "app/session.h"
#include "bytes/conversions.h"
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
        void install(ChannelList tv, ChannelList radio) {
            session.workspace().installChannels(
                {{std::move(tv), std::move(radio)}, FileKind::DVB, {}});
        }
        void choose(SortOptions options) {
            prompter.sortOptions = [options](const SortOptions&) { return options; };
        }
        QString names(ListId id) const {
            QStringList out;
            for (const ChannelRec& ch : session.workspace().list(id))
                out << QString::fromLatin1(trimBlanks(ch.ChName.view()));
            return out.join(',');
        }
    };
    // TV: a header C1 and C2 to C6, RADIO: R1, the buffer B2, B1; C3 selected, C2 and C3
    // marked.
    struct EditSetup : Setup {
        EditSetup() {
            ChannelList tv;
            for (int i = 1; i <= 6; ++i) {
                tv.push_back(
                    test::Channel("C" + std::to_string(i)).Freq(i == 1 ? "00000000" : "01100000"));
            }
            install(tv, {test::Channel("R1")});
            test::setBuffer(session.workspace(), {test::Channel("B2"), test::Channel("B1")});
            prompter.fallback = Prompter::Answer::Yes;
            prompter.rotorPosition = [](int) { return 5; };
            list.select(3, {1, 2});
        }
    };
    // TV: D, B, [SAT], C, A (SerId descending from 5); RADIO: R2, R1.
    struct SortSetup : Setup {
        SortSetup() {
            ChannelList tv;
            int sid = 5;
            for (const char* name : {"D", "B", "SAT", "C", "A"}) {
                tv.push_back(test::Channel(name)
                                 .Freq(std::string(name) == "SAT" ? "00000000" : "01100000")
                                 .SerId(pad4(std::to_string(sid--))));
            }
            install(tv,
                    {test::Channel("R2").Freq("01100000"), test::Channel("R1").Freq("01100000")});
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
        EditSetup s;
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
        EditSetup s;
        s.list.select(1, {0});  // the satellite header: the parental lock skips it
        QSignalSpy state(&s.session, &Session::stateChanged);
        s.editing.setAttribute(setParentalLock, 1);
        QVERIFY(!s.session.workspace().channelsModified());
        QVERIFY(state.isEmpty());
        QVERIFY(!s.editing.canUndo());
    }

    void theChosenSortIsAppliedAndOfferedNextTime() {
        SortSetup s;
        s.choose({SortKey::Name, false, false});
        s.editing.sortList();
        QCOMPARE(s.names(ListId::TV), QString("A,B,C,D,SAT"));
        QCOMPARE(s.names(ListId::Radio), QString("R2,R1"));  // only the shown list
        QVERIFY(s.session.workspace().channelsModified());

        s.choose({SortKey::ServiceId, true, true});
        s.editing.sortList();
        QCOMPARE(s.names(ListId::TV), QString("D,B,C,A,SAT"));

        // The first offer is by name, ascending, headers kept; then the last choice.
        QCOMPARE(s.prompter.offeredSorts.size(), 2);
        QCOMPARE(s.prompter.offeredSorts[0], SortOptions{});
        QVERIFY(s.prompter.offeredSorts[0].keepHeaders);
        QCOMPARE(s.prompter.offeredSorts[1], (SortOptions{SortKey::Name, false, false}));
        QCOMPARE(s.editing.sortChoice(), (SortOptions{SortKey::ServiceId, true, true}));
    }

    // A cancelled dialog, or the order the list already has: nothing changes, no step.
    void aCancelOrTheSameOrderChangesNothing() {
        for (bool cancel : {true, false}) {
            SortSetup s;
            if (!cancel) s.choose({SortKey::ServiceId, true, false});
            s.editing.sortList();
            QCOMPARE(s.names(ListId::TV), QString("D,B,SAT,C,A"));
            QVERIFY(!s.editing.canUndo());
            QVERIFY(!s.session.workspace().channelsModified());
            if (cancel) QCOMPARE(s.editing.sortChoice(), SortOptions{});
        }
    }

    void marksAndSelectionFollowAndOneUndoStepRestoresThem() {
        SortSetup s;
        s.list.select(1, {0, 3});  // D selected; D and C marked
        s.choose({SortKey::Name, false, true});
        QSignalSpy history(&s.editing, &EditingController::historyChanged);
        // The TV list, the selected row, the marks and whether the channels are modified.
        const auto shown = [&s] {
            QString marks;
            for (const std::size_t m : s.list.marks())
                marks += QString::number(m);
            return QString("%1 row %2 marks %3%4")
                .arg(s.names(ListId::TV))
                .arg(s.list.selectedRow())
                .arg(marks, s.session.workspace().channelsModified() ? " modified" : "");
        };
        s.editing.sortList();
        QCOMPARE(shown(), QString("B,D,SAT,A,C row 2 marks 14 modified"));
        QCOMPARE(s.session.workspace().rememberedRow(ListId::TV), 2);
        QVERIFY(history.count() >= 1);
        QCOMPARE(s.editing.history().size(), std::size_t{1});
        s.editing.undo();
        QCOMPARE(shown(), QString("D,B,SAT,C,A row 1 marks 03"));
        s.editing.redo();
        QCOMPARE(shown(), QString("B,D,SAT,A,C row 2 marks 14 modified"));
    }

    void theShownRadioListIsSortedAndTheBlankRowStays() {
        SortSetup s;
        s.list.switchList();
        QCOMPARE(s.session.workspace().shownList(), ListId::Radio);
        s.list.select(3, {});  // the blank row
        s.choose({SortKey::Name, false, true});
        s.editing.sortList();
        QCOMPARE(s.names(ListId::Radio), QString("R1,R2"));
        QCOMPARE(s.names(ListId::TV), QString("D,B,SAT,C,A"));
        QCOMPARE(s.list.selectedRow(), 3);
    }

    void offeredOnlyForAListOfTwoOrMore() {
        SortSetup s;
        QVERIFY(s.list.commands().sort);
        s.install({test::Channel("ONE").Freq("01100000")}, {});
        QVERIFY(!s.list.commands().sort);
        s.editing.sortList();
        QVERIFY(s.prompter.offeredSorts.isEmpty());
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::EditingControllerTest)
#include "editing_controller_test.moc"
