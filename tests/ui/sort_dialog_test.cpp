// The sort dialog and the editing menu's Sort command in the main window.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "ui/sort_dialog.h"
#include "ui_fixture.h"

namespace qel {

class SortDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theControlsShowTheOfferAndGiveBackWhatTheySay() {
        const SortKey keys[] = {SortKey::Name, SortKey::Frequency, SortKey::ServiceId,
                                SortKey::Satellite};
        for (SortKey key : keys) {
            for (int flags = 0; flags < 4; ++flags) {
                const SortOptions offered{key, (flags & 1) != 0, (flags & 2) != 0};
                SortDialog form(offered);
                QCOMPARE(form.options(), offered);
                QCOMPARE(form.descending()->isChecked(), offered.descending);
                QCOMPARE(form.keepHeaders()->isChecked(), offered.keepHeaders);
            }
        }
        // The first offer: by name, ascending, headers kept.
        SortDialog first(SortOptions{});
        QCOMPARE(first.key()->currentIndex(), 0);
        QVERIFY(first.keepHeaders()->isChecked());
        QVERIFY(!first.descending()->isChecked());
        QCOMPARE(first.key()->count(), 4);

        first.key()->setCurrentIndex(3);
        first.descending()->setChecked(true);
        first.keepHeaders()->setChecked(false);
        QCOMPARE(first.options(), (SortOptions{SortKey::Satellite, true, false}));
    }

    void askGivesTheChoiceOnSortAndNothingOnCancel() {
        const auto answer = [](const char* button, int keyIndex) {
            QTimer::singleShot(0, [button, keyIndex] {
                auto* form = qobject_cast<SortDialog*>(QApplication::activeModalWidget());
                QVERIFY(form != nullptr);
                form->key()->setCurrentIndex(keyIndex);
                form->findChild<QPushButton*>(button)->click();
            });
        };
        answer("Sortb", 1);
        QCOMPARE(SortDialog::ask({SortKey::Name, true, true}, nullptr),
                 (std::optional<SortOptions>{SortOptions{SortKey::Frequency, true, true}}));
        answer("Exitb", 2);
        QCOMPARE(SortDialog::ask({}, nullptr), std::optional<SortOptions>{});
    }

    void theEditingMenuSortsTheShownList() {
        test::UiFixture f;
        QVERIFY(!f.action("SortList")->isEnabled());  // nothing loaded
        // A header, then TV 1 .. TV 3 at rising frequencies.
        QVERIFY(f.load(f.dvb("list.dvb", 4, 0)));
        QVERIFY(f.action("SortList")->isEnabled());
        f.prompter.sortOptions = [](const SortOptions&) {
            return SortOptions{SortKey::Frequency, true, true};
        };
        f.action("SortList")->trigger();
        // The order a sort gives is the sort tests', applying it the sort command tests'.
        QCOMPARE(f.ws().tvList()[1].ChName.view().substr(0, 4), "TV 3");
        QVERIFY(f.action("Undomnu")->isEnabled());
    }
};

}  // namespace qel

QTEST_MAIN(qel::SortDialogTest)
#include "sort_dialog_test.moc"
