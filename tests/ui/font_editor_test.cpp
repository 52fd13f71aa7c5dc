// The font commands and the font editor over the whole program: loading by name and size,
// the save command with no font, the grid and the preview, the questions before a changed glyph is
// dropped, "Save Char" and "Save font" changing exactly one glyph, the sets of a two-set font,
// undo.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "ui/font_window.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;

namespace {

struct Fonts : test::UiFixture {
    bool loadFont(const QString& path) {
        chooser.choose(path);
        program->fonts().loadFonts();
        return session.fontFile() == path;
    }
    FontWindow* editor() { return qobject_cast<FontWindow*>(form->openChild()); }
    FontController& fonts() { return program->fonts(); }
    void clickGrid(FontWindow* w, int row, int column) {
        QTest::mouseClick(w->grid(), Qt::LeftButton, {}, GlyphGrid::cellCentre(row, column));
    }
    void clickGlyph(FontWindow* w, int glyph) {
        QTest::mouseClick(w->preview(), Qt::LeftButton, {}, w->preview()->glyphCentre(glyph));
    }
    template <class T>
    static T* child(QWidget* w, const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace

class FontEditorTest : public QObject {
    Q_OBJECT

private slots:
    void fontsLoadByNameAndExactSize() {
        Fonts s;
        QVERIFY(!s.action("Fontmnu")->isEnabled());
        QVERIFY(!s.action("Save_Fonts")->isEnabled());
        // Reached all the same (the command is the controller's), it says why it saves nothing.
        s.fonts().saveFonts();
        QCOMPARE(s.prompter.texts(), QStringList{"No fonts to save"});
        s.prompter.asked.clear();
        // 4096 bytes are one set of a system font, not two.
        QVERIFY(!s.loadFont(s.font("two.oc1", 4096, 16)));
        QCOMPARE(s.prompter.texts(), QStringList{"Wrong lenght"});
        QVERIFY(!s.ws().fontLoaded());
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        QCOMPARE(s.ws().fontType(), FontType::SystemOneSet);
        QCOMPARE(s.form->currentTab(), Tab::Fonts);
        QVERIFY(s.action("Fontmnu")->isEnabled());
        // Any other name is a teletext font; a refused file leaves the loaded font.
        s.prompter.asked.clear();
        QVERIFY(!s.loadFont(s.font("bad.txt", 3191, 10)));
        QCOMPARE(s.prompter.texts(), QStringList{"Wrong lenght"});
        QCOMPARE(s.ws().fontType(), FontType::SystemOneSet);
        QVERIFY(s.loadFont(s.font("tele.txt", 3190, 10)));
        QCOMPARE(s.ws().fontType(), FontType::Teletext);
        FontWindow* w = s.editor();
        QVERIFY(w != nullptr);
        QCOMPARE(Fonts::child<QLabel>(w, "FontIs")->text(), QString("Font type is TELETEXT"));
        QCOMPARE(Fonts::child<QLabel>(w, "filename")->text(), QString("tele.txt"));
    }

    void aTeletextGlyphHasTenRows() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("tele.oc2", 3190, 10)));
        FontWindow* w = s.editor();
        const GlyphRows before = s.fonts().grid();
        s.clickGrid(w, 12, 3);
        QCOMPARE(s.fonts().grid(), before);
        QVERIFY(!s.fonts().glyphChanged());
        s.clickGrid(w, 9, 3);
        QVERIFY(s.fonts().glyphChanged());
        // Preview line 1, column 0 is glyph 29; past the last glyph a press picks nothing.
        s.prompter.answer(Answer::Yes);
        s.clickGlyph(w, 29);
        QCOMPARE(s.fonts().glyph(), 29);
        QCOMPARE(Fonts::child<QLabel>(w, "position")->text(), QString("29"));
        QVERIFY(!s.fonts().pickGlyph(319));
    }

    void saveCharAndSaveFontChangeExactlyThatGlyph() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        const std::string before = s.ws().fontData();
        FontWindow* w = s.editor();
        s.clickGlyph(w, 65);
        QCOMPARE(s.fonts().glyph(), 65);
        s.clickGrid(w, 0, 0);  // row 0 of glyph 65 was 0x41: its leftmost pixel lights
        QVERIFY(Fonts::child<QPushButton>(w, "Save")->isEnabled());
        Fonts::child<QPushButton>(w, "Save")->click();
        QCOMPARE(s.ws().fontData(), before);  // only the editor's copy so far
        Fonts::child<QPushButton>(w, "SaveFont")->click();
        QVERIFY(s.ws().fontsModified());
        std::string expected = before;
        expected[65 * 16] = static_cast<char>(0xC1);
        QCOMPARE(s.ws().fontData(), expected);
        QVERIFY(Fonts::child<QLabel>(w, "filename")->text().endsWith(" *"));
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
        Fonts::child<QPushButton>(w, "SaveFont")->click();
        QCOMPARE(s.ws().fontData(), before);
        QVERIFY(!s.ws().fontsModified());
        QCOMPARE(s.fonts().grid(), edited);
        // Yes drops the grid's change and stores the rest.
        s.prompter.answer(Answer::Yes);
        Fonts::child<QPushButton>(w, "SaveFont")->click();
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
        Fonts::child<QPushButton>(w, "Save")->click();
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
        QVERIFY(!Fonts::child<QRadioButton>(w, "FontTwo")->isEnabled());
        QVERIFY(s.loadFont(s.font("two.oc1", 8192, 16)));
        QVERIFY(Fonts::child<QRadioButton>(w, "FontTwo")->isEnabled());
        Fonts::child<QRadioButton>(w, "FontTwo")->click();
        QCOMPARE(s.fonts().set(), 1);
        // Glyph 0 of the second set is read from byte 4096 (its rows are 0 + 7 here).
        QCOMPARE(s.fonts().grid(), GlyphRows(16, 7));
    }

    // Another font over a stored but unsaved change: the question first, naming the file.
    void anotherFontAsksAboutTheUnsavedOne() {
        Fonts s;
        QVERIFY(s.loadFont(s.font("one.fos", 4096, 16)));
        FontWindow* w = s.editor();
        s.clickGrid(w, 0, 0);
        Fonts::child<QPushButton>(w, "Save")->click();
        Fonts::child<QPushButton>(w, "SaveFont")->click();
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
