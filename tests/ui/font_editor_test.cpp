// The font commands and the font editor over the whole program: the commands offered, the tab a
// loaded font opens, the grid and the preview, the questions before a changed glyph is dropped,
// "Save Char" and "Save font", the sets of a two-set font, undo.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "ui/font_window.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;

namespace {

using test::child;

struct Fonts : test::UiFixture {
    FontWindow* editor() { return openChild<FontWindow>(); }
    FontController& fonts() { return program->fonts(); }
    void clickGrid(FontWindow* w, int row, int column) {
        QTest::mouseClick(w->grid(), Qt::LeftButton, {}, GlyphGrid::cellCentre(row, column));
    }
    void clickGlyph(FontWindow* w, int glyph) {
        QTest::mouseClick(w->preview(), Qt::LeftButton, {}, w->preview()->glyphCentre(glyph));
    }
};

}  // namespace

class FontEditorTest : public QObject {
    Q_OBJECT

private slots:
    void aLoadedFontOpensItsTabAndARefusedOneIsTold() {
        Fonts s;
        QVERIFY(!s.action("Fontmnu")->isEnabled());
        QVERIFY(!s.action("Save_Fonts")->isEnabled());
        // Which names and sizes are fonts is the font file tests'; a refusal is told and
        // leaves the loaded font.
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        QCOMPARE(s.form->currentTab(), Tab::Fonts);
        QVERIFY(s.action("Fontmnu")->isEnabled());
        QVERIFY(!s.loadFont(s.font("bad.txt", 3191, 10)));
        QCOMPARE(s.prompter.texts(), QStringList{"Wrong lenght"});
        QCOMPARE(s.ws().fontType(), FontType::SystemOneSet);
        QVERIFY(s.loadFont(s.font("tele.txt", 3190, 10)));
        QCOMPARE(s.ws().fontType(), FontType::Teletext);
        FontWindow* w = s.editor();
        QVERIFY(w != nullptr);
        QCOMPARE(child<QLabel>(w, "FontIs")->text(), QString("Font type is TELETEXT"));
        QCOMPARE(child<QLabel>(w, "filename")->text(), QString("tele.txt"));
    }

    // A press in the grid and in the preview reach the glyph (which pixel and which glyph a
    // place stands for is the font glyph tests').
    void theGridAndThePreviewPickWhatTheyShow() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("tele.oc2", 3190, 10)));
        FontWindow* w = s.editor();
        s.clickGrid(w, 12, 3);  // below a teletext glyph's ten rows
        QVERIFY(!s.fonts().glyphChanged());
        s.clickGrid(w, 9, 3);
        QVERIFY(s.fonts().glyphChanged());
        s.prompter.answer(Answer::Yes);
        s.clickGlyph(w, 29);
        QCOMPARE(s.fonts().glyph(), 29);
        QCOMPARE(child<QLabel>(w, "position")->text(), QString("29"));
    }

    void saveCharThenSaveFontStoreTheGlyph() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        const std::string before = s.ws().fontData();
        FontWindow* w = s.editor();
        s.clickGlyph(w, 65);
        QCOMPARE(s.fonts().glyph(), 65);
        s.clickGrid(w, 0, 0);  // row 0 of glyph 65 was 0x41: its leftmost pixel lights
        QVERIFY(child<QPushButton>(w, "Save")->isEnabled());
        child<QPushButton>(w, "Save")->click();
        QCOMPARE(s.ws().fontData(), before);  // only the editor's copy so far
        child<QPushButton>(w, "SaveFont")->click();
        QVERIFY(s.ws().fontsModified());
        QCOMPARE(s.ws().fontData()[65 * 16], char(0xC1));
        QVERIFY(child<QLabel>(w, "filename")->text().endsWith(" *"));
    }

    void aChangedGlyphIsNotDroppedWithoutAsking() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        const std::string before = s.ws().fontData();
        FontWindow* w = s.editor();
        s.clickGrid(w, 2, 5);
        const GlyphRows edited = s.fonts().grid();
        // Another glyph: No keeps the change.
        s.prompter.answer(Answer::No);
        s.clickGlyph(w, 3);
        QCOMPARE(s.prompter.texts(), QStringList{"Previous changes not saved : continue ?"});
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QCOMPARE(s.fonts().glyph(), 0);
        QCOMPARE(s.fonts().grid(), edited);
        // "Save font" asks before it stores anything: No leaves the font as it was.
        s.prompter.answer(Answer::No);
        child<QPushButton>(w, "SaveFont")->click();
        QCOMPARE(s.ws().fontData(), before);
        QVERIFY(!s.ws().fontsModified());
        QCOMPARE(s.fonts().grid(), edited);
        // Yes drops the grid's change and stores the rest.
        s.prompter.answer(Answer::Yes);
        child<QPushButton>(w, "SaveFont")->click();
        QCOMPARE(s.ws().fontData(), before);
        QVERIFY(s.ws().fontsModified());
        QVERIFY(!s.fonts().glyphChanged());
    }

    void undoTakesBackTheEditorsSteps() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        FontWindow* w = s.editor();
        const GlyphRows original = s.fonts().grid();
        s.clickGrid(w, 1, 1);
        s.clickGrid(w, 1, 2);
        child<QPushButton>(w, "Save")->click();
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);  // back before "Save Char"
        QVERIFY(s.fonts().glyphChanged());
        QCOMPARE(s.fonts().workingGlyph(0), original);
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.fonts().grid(), original);
        QVERIFY(!s.fonts().canUndo());
    }

    void theSecondSetOfATwoSetFont() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        FontWindow* w = s.editor();
        QVERIFY(!child<QRadioButton>(w, "FontTwo")->isEnabled());
        QVERIFY(s.loadFont(s.font("two.oc1", 8192, 16)));
        QVERIFY(child<QRadioButton>(w, "FontTwo")->isEnabled());
        child<QRadioButton>(w, "FontTwo")->click();
        QCOMPARE(s.fonts().set(), 1);
        QCOMPARE(s.fonts().grid(), GlyphRows(16, 7));  // the font's rows 7 higher there
    }

    // Another font over a stored but unsaved change: the question first, naming the file.
    void anotherFontAsksAboutTheUnsavedOne() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        FontWindow* w = s.editor();
        s.clickGrid(w, 0, 0);
        child<QPushButton>(w, "Save")->click();
        child<QPushButton>(w, "SaveFont")->click();
        QVERIFY(s.ws().fontsModified());
        s.prompter.asked.clear();
        s.prompter.answer(Answer::No);
        QVERIFY(s.loadFont(s.font("tele.oc2", 3190, 10)));
        QCOMPARE(s.prompter.texts(),
                 QStringList{"Save correction to " + s.dir.filePath("one.fos") + " ? "});
    }
};

}  // namespace qel

QTEST_MAIN(qel::FontEditorTest)
#include "font_editor_test.moc"
