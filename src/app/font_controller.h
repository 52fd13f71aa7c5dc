// The font commands and the font editor's logic without widgets. Load and save the font file
// with their questions and messages; the editor's working copy of the font, the set shown,
// the current glyph on the enlarged grid, pixel toggles, "Save Char" into the working copy,
// "Save font" into the document, and undo of the editor's steps.
#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <string>

#include "app/prompter.h"
#include "app/session.h"
#include "listedit/font_glyphs.h"

namespace qel {

class FontController : public QObject {
    Q_OBJECT

public:
    FontController(Session& session, Prompter& prompter, FileChooser& chooser,
                   QObject* parent = nullptr);

    static QString openFilter();
    static QString saveFilter();

    // "Load fonts": asks about an unsaved font first; a file of the wrong size is refused
    // and the font loaded before stays.
    void loadFonts();
    // A font file named on the command line: as "Load fonts" once it is chosen.
    void openFontFile(const QString& path);
    // "Save fonts": into the file the user chooses.
    void saveFonts();
    // "Save correction to <file> ? " for an unsaved font; true when the command may go on.
    bool askToSaveFont();

    // The editor opens on the document's font: set 1, glyph 0, nothing changed.
    void openEditor();
    bool editorOpen() const { return type_.has_value(); }
    FontType type() const { return type_.value_or(FontType::Teletext); }
    int set() const { return set_; }
    int glyph() const { return glyph_; }
    // The grid: the current glyph as edited, not yet saved with "Save Char".
    const GlyphRows& grid() const { return grid_; }
    bool glyphChanged() const { return changed_; }
    // The grid or the editor's copy of the font holds changes "Save font" has not stored.
    bool holdsUnsavedEdits() const;
    // The rows of glyph n of the shown set in the editor's copy of the font, as "Save Char"
    // leaves it.
    GlyphRows workingGlyph(int n) const;

    // A click on the grid; false (nothing changes) outside the glyph's rows.
    bool togglePixel(int row, int column);
    // A press on the preview picks glyph n (asking first when the grid has unsaved changes);
    // false when n is no glyph or the user keeps the changes.
    bool pickGlyph(int n);
    // The set choice of a two-set font (0 or 1), asking the same way.
    bool chooseSet(int set);
    // "Save Char": the grid into the working copy at the current glyph.
    void saveChar();
    // "Save font": the working copy into the document (after asking whether to drop grid
    // changes not saved with "Save Char"; No changes nothing).
    bool saveFont();

    // Undo of the editor's last step (a pixel, "Save Char", a glyph or set change).
    bool canUndo() const { return !undo_.empty(); }
    void undo();

signals:
    // A font was loaded: the editor opens on it.
    void fontLoaded();
    // The editor's state changed: grid, glyph, set or working copy.
    void editorChanged();

private:
    void readFontFrom(const QString& path);
    struct EditorState {
        std::string work;
        GlyphRows grid;
        int set = 0;
        int glyph = 0;
        bool changed = false;
    };
    EditorState state() const;
    void remember();
    bool mayDropChanges();
    void showGlyph(int n);
    bool saveTo(const QString& path);

    Session& session_;
    Prompter& prompter_;
    FileChooser& chooser_;

    std::optional<FontType> type_;
    std::string work_;
    GlyphRows grid_;
    int set_ = 0;
    int glyph_ = 0;
    bool changed_ = false;
    std::deque<EditorState> undo_;
};

}  // namespace qel
