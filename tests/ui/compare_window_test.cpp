// "Compare with file...", "Compare with the list before the download" and "Changes since
// loading / the download" through the program:
// the window's kinds, filters and counts, taking changes over, putting channels into the
// buffer, and showing an entry's channel in the main list.
#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "serial_fixture.h"
#include "ui/compare_window.h"

namespace qel {

using test::DvbRecord;

namespace {

DvbRecord tv(const char* name, unsigned sid) {
    return DvbRecord().name(name).freqMHz(11766).srateKs(27500).NetId(1).TsId(2).SerId(sid);
}

std::string radio(const char* name) {
    return DvbRecord().type(2).name(name).freqMHz(12000).SerId(9);
}

// Loaded: A B C D and R. Other: B (its audio PID changed) A C E and R2 (R renamed): D only
// in the loaded list, E only in the other, B and R changed, A moved.
struct Compare : test::Serial {
    Compare() {
        load(write("mine.dvb", tv("A", 1).bytes() + tv("B", 2).bytes() + tv("C", 3).bytes() +
                                   tv("D", 4).bytes() + radio("R")));
        other = write("other.dvb", tv("B", 2).APid(0x1FF).bytes() + tv("A", 1).bytes() +
                                       tv("C", 3).bytes() + tv("E", 5).bytes() + radio("R2"));
    }
    CompareWindow* compareWith(const QString& path) {
        chooser.choose(path);
        action("CompareFile")->trigger();
        return program->compareWindow();
    }
    void selectOnly(CompareWindow* w, CompareWindow::Kind kind, std::size_t place) {
        w->entries()->clearSelection();
        w->entry(kind, place)->setSelected(true);
    }
    QString other;
};

}  // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowListsEachKindWithItsCountsAndFilters() {
        Compare c;
        QVERIFY(c.action("CompareFile")->isEnabled());
        QVERIFY(!c.action("CompareDownload")->isEnabled());  // no download yet
        CompareWindow* w = c.compareWith(c.other);
        QVERIFY(w != nullptr && w->isVisible());
        // Any file the program reads channels from is offered.
        QVERIFY(
            c.chooser.asked.last().filter.startsWith("Channel files (*.dvb *.bin *.txt *.csv)"));
        // A title short enough to show whole; the counts on the filters and below.
        QCOMPARE(w->windowTitle(), QString("QEL - Compare with other.dvb"));
        QCOMPARE(w->filter(CompareWindow::kOnlyInFile)->text(), QString("Only in other.dvb (1)"));
        QCOMPARE(w->summary()->text(), QString("Differences: 5"));

        const struct {
            CompareWindow::Kind kind;
            QString list, row, otherRow, name;
        } rows[] = {
            {CompareWindow::kOnlyInList, "TV", "4", "", "D"},
            {CompareWindow::kOnlyInFile, "TV", "", "4", "E"},
            {CompareWindow::kChanged, "TV", "2", "1", "B"},
            {CompareWindow::kChanged, "RADIO", "1", "1", "R"},
            {CompareWindow::kMoved, "TV", "1", "2", "A"},
        };
        QCOMPARE(w->entries()->topLevelItemCount(), 5);
        for (int i = 0; i < 5; ++i) {
            QTreeWidgetItem* it = w->entries()->topLevelItem(i);
            QCOMPARE(it->text(1), rows[i].list);
            QCOMPARE(it->text(2), rows[i].row);
            QCOMPARE(it->text(3), rows[i].otherRow);
            QCOMPARE(it->text(4), rows[i].name);
            QCOMPARE(w->entry(rows[i].kind, rows[i].kind == CompareWindow::kChanged && i == 3), it);
        }
        // Each changed field with both values.
        QTreeWidgetItem* b = w->entry(CompareWindow::kChanged, 0);
        QCOMPARE(b->childCount(), 1);
        QCOMPARE(b->child(0)->text(4), QString("APid"));
        QCOMPARE(b->child(0)->text(5), QString("0000"));
        QCOMPARE(b->child(0)->text(6), QString("01FF"));
        QCOMPARE(w->entry(CompareWindow::kChanged, 1)->child(0)->text(6),
                 QString("R2                  "));

        w->filter(CompareWindow::kChanged)->setChecked(false);
        QVERIFY(b->isHidden());
        QVERIFY(!w->entry(CompareWindow::kMoved, 0)->isHidden());
        // A hidden entry is not acted on even when selected.
        b->setSelected(true);
        QVERIFY(w->selected(CompareWindow::kChanged).empty());
        QVERIFY(!w->takeOverButton()->isEnabled());
        w->filter(CompareWindow::kChanged)->setChecked(true);
        QCOMPARE(w->selected(CompareWindow::kChanged), std::vector<std::size_t>{0});
        QVERIFY(w->takeOverButton()->isEnabled());
        QVERIFY(!w->putButton()->isEnabled());
    }

    void takingOverIsOneUndoableStep() {
        Compare c;
        CompareWindow* w = c.compareWith(c.other);
        const ChannelList before = c.ws().tvList();
        // A field line chosen stands for its channel.
        w->entries()->clearSelection();
        w->entry(CompareWindow::kChanged, 0)->child(0)->setSelected(true);
        w->entry(CompareWindow::kChanged, 1)->setSelected(true);
        w->takeOverButton()->click();
        // Both channels (what a take-over writes is the comparison tests').
        QCOMPARE(c.ws().tvList()[1].APid.view(), "01FF");
        QCOMPARE(c.ws().radioList()[0].ChName.view().substr(0, 2), "R2");
        // The window follows the lists.
        QCOMPARE(w->filter(CompareWindow::kChanged)->text(), QString("Changed (0)"));
        QCOMPARE(w->summary()->text(), QString("Differences: 3"));

        // Undone while the window is closed: it shows the lists as they are when it opens.
        w->close();
        c.action("Undomnu")->trigger();
        QCOMPARE(c.ws().tvList(), before);
        w->show();
        QCOMPARE(w->filter(CompareWindow::kChanged)->text(), QString("Changed (2)"));
        QVERIFY(!c.editing().canUndo());
    }

    void puttingIntoTheBufferOpensItForThePasteCommands() {
        Compare c;
        CompareWindow* w = c.compareWith(c.other);
        c.selectOnly(w, CompareWindow::kOnlyInFile, 0);
        w->entry(CompareWindow::kMoved, 0)->setSelected(true);  // not in the other file only
        QVERIFY(w->putButton()->isEnabled());
        w->putButton()->click();
        QCOMPARE(c.ws().bufferList().size(), 1u);
        QCOMPARE(c.ws().bufferList()[0].ChName.view().substr(0, 2), "E ");
        QCOMPARE(c.form->currentTab(), Tab::Buffer);
        QVERIFY(c.action("Pastemnu")->isEnabled());
        // Paste all places it; the comparison then finds it in both.
        c.form->selectTab(Tab::List);
        c.list().selectOnly(5);
        c.action("Pastemnu")->trigger();
        QCOMPARE(w->filter(CompareWindow::kOnlyInFile)->text(), QString("Only in other.dvb (0)"));
    }

    void activatingAnEntryShowsItsChannelInTheMainList() {
        Compare c;
        CompareWindow* w = c.compareWith(c.other);
        emit w->entries()->itemActivated(w->entry(CompareWindow::kChanged, 1), 0);
        QCOMPARE(c.ws().shownList(), ListId::Radio);
        QCOMPARE(c.list().selectedRow(), 1);
        emit w->entries()->itemActivated(w->entry(CompareWindow::kOnlyInList, 0), 0);
        QCOMPARE(c.ws().shownList(), ListId::TV);
        QCOMPARE(c.list().selectedRow(), 4);
        QCOMPARE(c.markedRows(), QList<int>{4});
        // A channel the loaded lists lack is not shown.
        emit w->entries()->itemActivated(w->entry(CompareWindow::kOnlyInFile, 0), 0);
        QCOMPARE(c.list().selectedRow(), 4);
    }

    void aRefusedFileIsToldAndOpensNothing() {
        Compare c;
        QVERIFY(c.compareWith(c.write("short.dvb", std::string(63, 'x'))) == nullptr);
        QCOMPARE(c.prompter.asked.size(), 1);
        QCOMPARE(c.prompter.asked[0].icon, Prompter::Icon::Critical);
        // Without channels there is nothing to compare.
        test::UiFixture empty;
        QVERIFY(!empty.action("CompareFile")->isEnabled());
    }

    // Lists that hold the same (an image against its list is the comparison tests').
    void noDifferenceIsSaidInWords() {
        Compare c;
        CompareWindow* w = c.compareWith(c.dir.filePath("mine.dvb"));
        QVERIFY(w != nullptr && w->isVisible());
        QCOMPARE(w->entries()->topLevelItemCount(), 0);
        // Said in words, not left to an empty table.
        QCOMPARE(w->summary()->text(),
                 QString("No differences: the lists hold the same channels in the same places."));
        // An edit shows at once.
        c.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[1].VPid = "0123"; });
        QCOMPARE(w->entries()->topLevelItemCount(), 1);
        QCOMPARE(w->summary()->text(), QString("Differences: 1"));
    }

    void theListBeforeADownloadIsOneClickAway() {
        Compare c;
        const ChannelList mine = c.ws().tvList();
        SerialWindow* serial = c.open();
        QVERIFY(serial->compareBeforeButton()->isHidden());
        c.download(serial);
        QVERIFY(c.ws().tvList() != mine);
        // Both in the File menu and where the download ended.
        QVERIFY(c.action("CompareDownload")->isEnabled());
        QVERIFY(!serial->compareBeforeButton()->isHidden());
        serial->compareBeforeButton()->click();
        CompareWindow* w = c.program->compareWindow();
        QVERIFY(w != nullptr && w->isVisible());
        QCOMPARE(w->windowTitle(), QString("QEL - Compare with the list before the download"));
        QCOMPARE(c.program->compare().other().tv, mine);
        const QString onlyBefore =
            QString::number(c.program->compare().comparison().onlyInSecond.size());
        QCOMPARE(w->filter(CompareWindow::kOnlyInFile)->text(),
                 "Only in the list before the download (" + onlyBefore + ")");
        // A file loaded afterwards lets the old lists go.
        QVERIFY(c.load(c.other));
        QVERIFY(!c.action("CompareDownload")->isEnabled());
        QVERIFY(c.session.listsBeforeDownload() == nullptr);
        w->close();
        c.action("CompareDownload")->trigger();  // disabled: nothing happens
        QVERIFY(!w->isVisible());
    }

    // The lists as loaded or downloaded stay in the session: what changed since is one command,
    // and taking a change over or putting a deleted channel into the buffer undoes it.
    void theChangesSinceLoadingOrTheDownloadAreShown() {
        Compare c;
        QVERIFY(c.action("ChangesLoaded")->isEnabled());
        QVERIFY(!c.action("ChangesDownload")->isEnabled());
        const TvRadioLists loaded{c.ws().tvList(), c.ws().radioList()};
        c.ws().changeLists(kTouchTV, [](EditableLists& l) {
            l.tv[1].APid = "0123";
            l.tv.erase(l.tv.begin() + 3);
        });
        // A save does not move the point the changes are counted from.
        c.chooser.choose(c.dir.filePath("saved.dvb"));
        c.action("Save_Channel")->trigger();
        QVERIFY(QFile::exists(c.dir.filePath("saved.dvb")));
        c.action("ChangesLoaded")->trigger();
        CompareWindow* w = c.program->compareWindow();
        QVERIFY(w != nullptr && w->isVisible());
        QCOMPARE(w->windowTitle(), QString("QEL - Compare with the list as loaded"));
        QCOMPARE(c.program->compare().other().tv, loaded.tv);
        QCOMPARE(w->filter(CompareWindow::kChanged)->text(), QString("Changed (1)"));
        QCOMPARE(w->filter(CompareWindow::kOnlyInFile)->text(),
                 QString("Only in the list as loaded (1)"));
        QCOMPARE(w->filter(CompareWindow::kOnlyInList)->text(),
                 QString("Only in the list now (0)"));
        QCOMPARE(w->entries()->headerItem()->text(6), QString("As loaded"));
        c.selectOnly(w, CompareWindow::kChanged, 0);
        w->takeOverButton()->click();
        QCOMPARE(c.ws().tvList()[1].APid, loaded.tv[1].APid);
        w->close();

        // A download replaces the point of reference; a load brings it back to the file.
        SerialWindow* serial = c.open();
        c.prompter.answer(Prompter::Answer::Yes);  // the channels taken over are not saved
        c.download(serial);
        QVERIFY(!c.action("ChangesLoaded")->isEnabled());
        QVERIFY(c.action("ChangesDownload")->isEnabled());
        const ChannelList downloaded = c.ws().tvList();
        c.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[0].ChName = "Renamed"; });
        c.action("ChangesDownload")->trigger();
        QCOMPARE(w->windowTitle(), QString("QEL - Compare with the list as downloaded"));
        QCOMPARE(w->filter(CompareWindow::kOnlyInFile)->text(),
                 QString("Only in the list as downloaded (0)"));
        QCOMPARE(w->entries()->headerItem()->text(5), QString("Now"));
        QCOMPARE(c.program->compare().other().tv, downloaded);
        QCOMPARE(c.program->compare().comparison().changed.size(), std::size_t{1});
        QVERIFY(c.load(c.other));
        QVERIFY(c.action("ChangesLoaded")->isEnabled());
        QVERIFY(!c.action("ChangesDownload")->isEnabled());
    }
};

}  // namespace qel

QTEST_MAIN(qel::CompareWindowTest)
#include "compare_window_test.moc"
