// The "Order like" dialog and the editing menu's "Order like…" command in the main window.
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "support/channel_builder.h"
#include "ui/reorder_dialog.h"
#include "ui_fixture.h"

namespace qel {

namespace {

QString tvNames(Workspace& ws) {
    return QString::fromStdString(test::names(ws.tvList()));
}

}  // namespace

class ReorderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theControlsShowTheOfferAndGiveBackWhatTheySay() {
        for (ReorderMatch match : {ReorderMatch::IdsThenName, ReorderMatch::NameOnly}) {
            for (ReorderRest rest : {ReorderRest::End, ReorderRest::Keep}) {
                const ReorderOptions offered{match, rest};
                ReorderDialog form(offered);
                QCOMPARE(form.options(), offered);
                QCOMPARE(form.byName()->isChecked(), match == ReorderMatch::NameOnly);
                QCOMPARE(form.restKept()->isChecked(), rest == ReorderRest::Keep);
            }
        }
        ReorderDialog first(ReorderOptions{});
        QVERIFY(first.byIds()->isChecked());
        QVERIFY(first.restAtEnd()->isChecked());
        first.byName()->setChecked(true);
        first.restKept()->setChecked(true);
        QCOMPARE(first.options(), (ReorderOptions{ReorderMatch::NameOnly, ReorderRest::Keep}));
        // Each pair is a choice of its own.
        QVERIFY(!first.byIds()->isChecked() && !first.restAtEnd()->isChecked());

        const auto answer = [](const char* button) {
            QTimer::singleShot(0, [button] {
                auto* form = qobject_cast<ReorderDialog*>(QApplication::activeModalWidget());
                QVERIFY(form != nullptr);
                form->restKept()->setChecked(true);
                form->findChild<QPushButton*>(button)->click();
            });
        };
        answer("Orderb");
        QCOMPARE(ReorderDialog::ask({ReorderMatch::NameOnly, ReorderRest::End}, nullptr),
                 (std::optional<ReorderOptions>{{ReorderMatch::NameOnly, ReorderRest::Keep}}));
        answer("Exitb");
        QCOMPARE(ReorderDialog::ask({}, nullptr), std::optional<ReorderOptions>{});

        // The texts follow a language switch while the dialog is open.
        Language language;
        language.apply("ITA");
        QTRY_COMPARE(first.windowTitle(), QString("QEL - Ordina come un'altra lista"));
        QCOMPARE(first.byName()->text(), QString("Solo nome"));
        language.apply("ENG");
        QTRY_COMPARE(first.windowTitle(), QString("QEL - Order like another list"));
    }

    void theEditingMenuOrdersTheShownListLikeAFile() {
        test::UiFixture f;
        QVERIFY(!f.action("OrderLike")->isEnabled());  // nothing loaded
        QCOMPARE(f.action("OrderLike")->text(), QString("Order like…"));
        // A header, then TV 1 .. TV 3.
        QVERIFY(f.load(f.dvb("list.dvb", 4, 0)));
        QVERIFY(f.action("OrderLike")->isEnabled());
        f.list().select(2, {1});  // TV 1 selected and marked

        // A refused reference changes nothing and asks nothing more.
        const QString binary = f.write("binary.lst", std::string("\0\1", 2));
        f.chooser.choose(binary);
        f.action("OrderLike")->trigger();
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked.last().icon, Prompter::Icon::Critical);
        QVERIFY2(f.prompter.asked.last().text.contains("Not a text file"),
                 qPrintable(f.prompter.asked.last().text));
        QVERIFY(f.prompter.offeredReorders.isEmpty());
        // A cancelled choice neither.
        const QString names = f.write("order.txt", "tv 3\r\nTV 1\r\nNone\r\n");
        f.chooser.choose(names);
        f.action("OrderLike")->trigger();
        QCOMPARE(f.prompter.offeredReorders.size(), 1);
        QCOMPARE(f.prompter.offeredReorders.last(), ReorderOptions{});
        QCOMPARE(tvNames(f.ws()), QString("--- SAT ---,TV 1,TV 2,TV 3"));
        QCOMPARE(f.prompter.asked.size(), 1);

        f.prompter.reorderOptions = [](const ReorderOptions&) {
            return ReorderOptions{ReorderMatch::IdsThenName, ReorderRest::Keep};
        };
        f.chooser.choose(names);
        f.action("OrderLike")->trigger();
        QCOMPARE(tvNames(f.ws()), QString("--- SAT ---,TV 3,TV 2,TV 1"));
        QCOMPARE(f.list().selectedRow(), 4);
        QCOMPARE(f.list().marks(), (Marks{3}));
        QVERIFY(f.ws().channelsModified());
        QCOMPARE(f.prompter.asked.last().icon, Prompter::Icon::Information);
        QCOMPARE(f.prompter.asked.last().text,
                 QString("Matched by ids: 0\nMatched by name: 2\nNot matched: 1\n"
                         "Satellite headers placed like the reference's: 0 of 1"));
        // The last choice is offered again.
        QCOMPARE(f.prompter.offeredReorders.last(), ReorderOptions{});
        f.prompter.reorderOptions = [](const ReorderOptions& last) { return last; };

        // One undo step brings the order back.
        f.action("Undomnu")->trigger();
        QCOMPARE(tvNames(f.ws()), QString("--- SAT ---,TV 1,TV 2,TV 3"));
        QVERIFY(!f.action("Undomnu")->isEnabled());

        // In Italian, ordered like the TV list of a channel file.
        const QString reference =
            f.write("ref.dvb", test::DvbRecord().name("TV 2").freqMHz(12000).bytes() +
                                   test::DvbRecord().name("--- sat ---").freqMHz(0).bytes());
        f.language.apply("ITA");
        f.chooser.choose(reference);
        f.action("OrderLike")->trigger();
        QCOMPARE(f.prompter.offeredReorders.last(),
                 (ReorderOptions{ReorderMatch::IdsThenName, ReorderRest::Keep}));
        QCOMPARE(tvNames(f.ws()), QString("TV 2,TV 1,--- SAT ---,TV 3"));
        QCOMPARE(f.prompter.asked.last().text,
                 QString("Abbinati per id: 0\nAbbinati per nome: 1\nNon abbinati: 2\n"
                         "Intestazioni dei satelliti poste come nel riferimento: 1 di 1"));
        f.language.apply("ENG");
    }
};

}  // namespace qel

QTEST_MAIN(qel::ReorderDialogTest)
#include "reorder_dialog_test.moc"
