#include "app/font_controller.h"

#include <QFile>
#include <QFileInfo>

#include "app/file_filters.h"
#include "app/texts.h"
#include "files/file_formats.h"

namespace qel {

namespace {

using Icon = Prompter::Icon;
using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;

// Enough steps for any editing session; each keeps at most an 8 KB copy of the font.
constexpr std::size_t kMaxUndoSteps = 1000;

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

FontController::FontController(Session& session, Prompter& prompter, FileChooser& chooser,
                               QObject* parent)
    : QObject(parent), session_(session), prompter_(prompter), chooser_(chooser) {}

QString FontController::openFilter() {
    return documentFilter(FileContent::Font);
}

QString FontController::saveFilter() {
    return openFilter();
}

bool FontController::askToSaveFont() {
    Workspace& ws = session_.workspace();
    if (!ws.fontsModified()) return true;
    const Answer a =
        prompter_.ask(Icon::Question, tr("Save correction to ") + session_.fontFile() + tr(" ? "),
                      Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::Yes) {
        const QString path = chooser_.saveFile(
            session_.workingDir(), QFileInfo(session_.fontFile()).fileName(), saveFilter());
        return !path.isEmpty() && saveTo(path);
    }
    ws.setFontsModified(false);
    return true;
}

void FontController::loadFonts() {
    if (!askToSaveFont()) return;
    const QString path = chooser_.openFile(session_.workingDir(), openFilter());
    if (!path.isEmpty()) readFontFrom(path);
}

void FontController::openFontFile(const QString& path) {
    if (askToSaveFont()) readFontFrom(path);
}

void FontController::readFontFrom(const QString& path) {
    session_.setWorkingDir(QFileInfo(path).absolutePath());
    const std::string file = localPath(path);
    Result<FontFile> font = fontFileFormat(file).readFont(file);
    if (!font) {
        // "Wrong lenght" reads the same in every language.
        prompter_.tell(Icon::Critical, Texts::errorMessage(font.error()));
        return;
    }
    session_.workspace().installFont(font->type, std::move(font->bytes));
    session_.setFontFile(path);
    openEditor();
    emit fontLoaded();
}

bool FontController::saveTo(const QString& path) {
    // The font goes under whatever name the user gives; the writer is the same for each type.
    const std::string file = localPath(path);
    const Status st = fontFileFormat(file).write(session_.workspace(), file, {});
    if (!st) {
        prompter_.tell(Icon::Critical, Texts::errorMessage(st, path));
        return false;
    }
    session_.setFontFile(path);
    return true;
}

void FontController::saveFonts() {
    if (!session_.workspace().fontLoaded()) {
        prompter_.tell(Icon::Exclamation, tr("No fonts to save"));
        return;
    }
    const QString name = QFileInfo(session_.fontFile()).fileName();
    const QString proposed =
        name.contains(QLatin1String("Download")) ? QStringLiteral("Download") : name;
    const QString path = chooser_.saveFile(session_.workingDir(), proposed, saveFilter());
    if (path.isEmpty()) return;
    saveTo(path);
}

void FontController::openEditor() {
    const Workspace& ws = session_.workspace();
    type_ = ws.fontType();
    work_ = ws.fontData();
    set_ = 0;
    changed_ = false;
    undo_.clear();
    showGlyph(0);
    emit editorChanged();
}

bool FontController::holdsUnsavedEdits() const {
    return type_.has_value() && (changed_ || work_ != session_.workspace().fontData());
}

GlyphRows FontController::workingGlyph(int n) const {
    if (!type_) return {};
    return readGlyph(work_, *type_, set_, n).value_or(GlyphRows{});
}

void FontController::showGlyph(int n) {
    glyph_ = n;
    grid_ = workingGlyph(n);
    changed_ = false;
}

FontController::EditorState FontController::state() const {
    return {work_, grid_, set_, glyph_, changed_};
}

void FontController::remember() {
    undo_.push_back(state());
    if (undo_.size() > kMaxUndoSteps) undo_.pop_front();
}

void FontController::undo() {
    if (undo_.empty()) return;
    const EditorState s = std::move(undo_.back());
    undo_.pop_back();
    work_ = s.work;
    grid_ = s.grid;
    set_ = s.set;
    glyph_ = s.glyph;
    changed_ = s.changed;
    emit editorChanged();
}

bool FontController::togglePixel(int row, int column) {
    if (!type_) return false;
    GlyphRows rows = grid_;
    if (!toggleGlyphPixel(rows, row, column)) return false;
    remember();
    grid_ = std::move(rows);
    changed_ = true;
    emit editorChanged();
    return true;
}

bool FontController::mayDropChanges() {
    if (!changed_) return true;
    // The same text in every language.
    return prompter_.ask(Icon::Question, QStringLiteral("Previous changes not saved : continue ?"),
                         Buttons::YesNo, Answer::No) == Answer::Yes;
}

bool FontController::pickGlyph(int n) {
    if (!type_ || n < 0 || n >= glyphsPerSet(*type_)) return false;
    if (!mayDropChanges()) return false;
    remember();
    showGlyph(n);
    emit editorChanged();
    return true;
}

bool FontController::chooseSet(int set) {
    if (!type_ || set < 0 || set >= fontSetCount(*type_) || set == set_) return false;
    if (!mayDropChanges()) return false;
    remember();
    set_ = set;
    showGlyph(0);
    emit editorChanged();
    return true;
}

void FontController::saveChar() {
    if (!type_) return;
    std::string work = work_;
    if (!writeGlyph(work, *type_, set_, glyph_, grid_)) return;
    remember();
    work_ = std::move(work);
    changed_ = false;
    emit editorChanged();
}

bool FontController::saveFont() {
    if (!type_) return false;
    // Asked before anything is stored: No leaves the document and the editor as they are.
    if (!mayDropChanges()) return false;
    if (changed_) {
        remember();
        grid_ = workingGlyph(glyph_);
        changed_ = false;
    }
    if (!session_.workspace().storeFont(work_)) return false;
    emit editorChanged();
    return true;
}

}  // namespace qel
