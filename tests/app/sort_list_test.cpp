// The editing menu's Sort: the dialog's choice reaches the sort of the shown list, which is one
// undoable step that the marks and the selected channel follow.
#include <QSignalSpy>
#include <QtTest>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/session.h"
#include "bytes/conversions.h"
#include "support/channel_builder.h"
#include "support/scripted_ui.h"

namespace qel {

class SortListTest : public QObject {
    Q_OBJECT

    struct Setup {
        Session session;
        test::ScriptedPrompter prompter;
        ListController list{session};
        EditingController editing{session, list, prompter};
        // TV: D, B, [SAT], C, A (SerId descending from 5); RADIO: R2, R1.
        Setup() {
            ChannelList tv;
            int sid = 5;
            for (const char* name : {"D", "B", "SAT", "C", "A"}) {
                tv.push_back(test::Channel(name)
                                 .Freq(std::string(name) == "SAT" ? "00000000" : "01100000")
                                 .SerId(pad4(std::to_string(sid--))));
            }
            session.workspace().installChannels(
                {{tv, {test::Channel("R2").Freq("01100000"), test::Channel("R1").Freq("01100000")}},
                 FileKind::DVB,
                 {}});
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

private slots:
    void theChosenSortIsAppliedAndOfferedNextTime() {
        Setup s;
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
            Setup s;
            if (!cancel) s.choose({SortKey::ServiceId, true, false});
            s.editing.sortList();
            QCOMPARE(s.names(ListId::TV), QString("D,B,SAT,C,A"));
            QVERIFY(!s.editing.canUndo());
            QVERIFY(!s.session.workspace().channelsModified());
            if (cancel) QCOMPARE(s.editing.sortChoice(), SortOptions{});
        }
    }

    void marksAndSelectionFollowAndOneUndoStepRestoresThem() {
        Setup s;
        s.list.select(1, {0, 3});  // D selected; D and C marked
        s.choose({SortKey::Name, false, true});
        QSignalSpy history(&s.editing, &EditingController::historyChanged);
        s.editing.sortList();
        QCOMPARE(s.names(ListId::TV), QString("B,D,SAT,A,C"));
        QCOMPARE(s.list.selectedRow(), 2);
        QCOMPARE(s.list.marks(), (Marks{1, 4}));
        QCOMPARE(s.session.workspace().rememberedRow(ListId::TV), 2);
        QVERIFY(history.count() >= 1);
        QCOMPARE(s.editing.history().size(), std::size_t{1});

        s.editing.undo();
        QCOMPARE(s.names(ListId::TV), QString("D,B,SAT,C,A"));
        QCOMPARE(s.list.selectedRow(), 1);
        QCOMPARE(s.list.marks(), (Marks{0, 3}));
        QVERIFY(!s.session.workspace().channelsModified());

        s.editing.redo();
        QCOMPARE(s.names(ListId::TV), QString("B,D,SAT,A,C"));
        QCOMPARE(s.list.selectedRow(), 2);
        QCOMPARE(s.list.marks(), (Marks{1, 4}));
        QVERIFY(s.session.workspace().channelsModified());
    }

    void theShownRadioListIsSortedAndTheBlankRowStays() {
        Setup s;
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
        Setup s;
        QVERIFY(s.list.commands().sort);
        s.session.workspace().installChannels(
            {{{test::Channel("ONE").Freq("01100000")}, {}}, FileKind::DVB, {}});
        QVERIFY(!s.list.commands().sort);
        s.editing.sortList();
        QVERIFY(s.prompter.offeredSorts.isEmpty());
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::SortListTest)
#include "sort_list_test.moc"
