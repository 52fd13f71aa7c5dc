#include "app/reorder_controller.h"

#include <QFile>
#include <QFileInfo>

#include "app/file_filters.h"
#include "app/texts.h"
#include "files/names_file.h"

namespace qel {

ReorderController::ReorderController(Session& session, EditingController& editing,
                                     Prompter& prompter, FileChooser& chooser, QObject* parent)
    : QObject(parent),
      session_(session),
      editing_(editing),
      prompter_(prompter),
      chooser_(chooser) {}

void ReorderController::orderLikeFile() {
    if (session_.workspace().shown().size() < 2) return;
    // The channel files first, as every dialog that reads channels offers them; a names file
    // is a .txt or a file of any name.
    const QString filter = channelFilesFilter() + QStringLiteral(";;") +
                           tr("Channel names, one a line (*.txt)") + QStringLiteral(";;") +
                           tr("All files (*)");
    const QString path = chooser_.openFile(session_.workingDir(), filter);
    if (path.isEmpty()) return;
    session_.setWorkingDir(QFileInfo(path).absolutePath());
    orderLikePath(path);
}

bool ReorderController::orderLikePath(const QString& path) {
    Workspace& ws = session_.workspace();
    const std::string local = QFile::encodeName(path).toStdString();
    auto reference = readOrderReference(local, ws.shownList());
    if (!reference) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(reference.status(), path));
        return false;
    }
    const std::optional<ReorderOptions> chosen = prompter_.askReorderOptions(choice_);
    if (!chosen) return false;
    choice_ = *chosen;
    const Reordering r = reference->namesOnly
                             ? reorderByNames(ws.shown(), reference->names, choice_.rest)
                             : reorderLike(ws.shown(), reference->channels, choice_);
    editing_.reorderShown(r.order);
    prompter_.tell(Prompter::Icon::Information, reportText(r.report));
    return true;
}

QString ReorderController::reportText(const ReorderReport& report) {
    QString text = tr("Matched by ids: %1\nMatched by name: %2\nNot matched: %3")
                       .arg(report.byIds)
                       .arg(report.byName)
                       .arg(report.unmatched);
    if (report.headers > 0) {
        text += '\n' + tr("Satellite headers placed like the reference's: %1 of %2")
                           .arg(report.headersMatched)
                           .arg(report.headers);
    }
    return text;
}

}  // namespace qel
