#include "app/export_controller.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "app/texts.h"
#include "files/file_io.h"

namespace qel {

ExportController::ExportController(Session& session, ConfigStore& store, QString versionText,
                                   QObject* parent)
    : QObject(parent), session_(session), store_(store), versionText_(std::move(versionText)) {}

QString ExportController::defaultTarget() const {
    const QString loaded = session_.channelFile();
    if (loaded.isEmpty()) return {};
    // The three characters after the last dot make way for "txt".
    return loaded.left(std::max<qsizetype>(loaded.size() - 3, 0)) + QStringLiteral("txt");
}

ExportColumns ExportController::initialColumns() const {
    ExportColumns c;
    if (session_.config().rememberExportLayout) c = session_.config().exportColumns;
    // Only an FTA image has an antenna per channel.
    if (session_.workspace().fileType() != FileKind::BIN) c.antenna = false;
    return c;
}

bool ExportController::initialUtf8() const {
    return session_.config().rememberExportLayout && session_.config().exportUtf8;
}

ExportTexts ExportController::texts() const {
    const auto latin1 = [](const QString& s) { return Texts::toLatin1(s); };
    ExportTexts t;
    t.title = latin1(tr("QEL - Version ") + versionText_);
    t.fileName = latin1(QFileInfo(session_.channelFile()).fileName());
    const QDate today = QDate::currentDate();
    t.date = exportDate(today.year(), today.month(), today.day());
    t.tvTitle = latin1(tr("TELEVISION CHANNELS"));
    t.radioTitle = latin1(tr("RADIO CHANNELS    "));
    t.hexNote =
        latin1(tr("Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
                  "hexadecimal format"));
    t.decimalNote = latin1(tr("All values are in decimal format"));
    t.nameHeader = latin1(tr("Name"));
    return t;
}

ExportOptions ExportController::startingOptions() const {
    ExportOptions o;
    o.columns = initialColumns();
    o.ftaImage = session_.workspace().fileType() == FileKind::BIN;
    return o;
}

std::vector<std::string> ExportController::printedPages(ExportOptions options) const {
    const Workspace& ws = session_.workspace();
    options.ftaImage = ws.fileType() == FileKind::BIN;
    ExportTexts printed = texts();
    // On paper the word before the page number is in the language in use too.
    printed.page = Texts::toLatin1(tr("Page", "before the page number on printed pages"));
    return exportPages(ws.tvList(), ws.radioList(), options, printed);
}

QString ExportController::pdfName() const {
    const QString loaded = session_.channelFile();
    const QString base =
        loaded.isEmpty() ? QStringLiteral("channels") : QFileInfo(loaded).completeBaseName();
    return base + QStringLiteral(".pdf");
}

QString ExportController::documentTitle() const {
    return QFileInfo(session_.channelFile()).fileName();
}

Status ExportController::exportTo(const QString& path, ExportOptions options, bool utf8) {
    const Workspace& ws = session_.workspace();
    options.ftaImage = ws.fileType() == FileKind::BIN;
    std::string text = exportText(ws.tvList(), ws.radioList(), options, texts());
    if (utf8) text = latin1ToUtf8(text);
    Status st = writeFileAtomic(QFile::encodeName(path).toStdString(), text);
    if (!st) return st;
    if (session_.config().rememberExportLayout) {
        Config c = session_.config();
        c.exportColumns = options.columns;
        c.exportUtf8 = utf8;
        session_.setConfig(c);
        store_.saveExportChoices(c);
    }
    return st;
}

}  // namespace qel
