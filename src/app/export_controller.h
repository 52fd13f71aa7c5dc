// The text export without widgets: the file it writes (the loaded file's name with ".txt"
// unless the user chose another), the texts of its page headers in the language in use, the
// column boxes and the encoding remembered in the configuration, and the writing itself, one
// byte per character or in UTF-8, through the program's safe save.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "app/config_store.h"
#include "app/session.h"
#include "files/text_export.h"
#include "model/errors.h"

namespace qel {

class ExportController : public QObject {
    Q_OBJECT

public:
    ExportController(Session& session, ConfigStore& store, QString versionText,
                     QObject* parent = nullptr);

    // The loaded file's path with its extension replaced by "txt".
    QString defaultTarget() const;
    // The file the next export writes: the default until the user chooses another.
    QString target() const { return target_.isEmpty() ? defaultTarget() : target_; }
    void setTarget(const QString& path) { target_ = path; }

    // The column boxes as last exported when "Remember export layout" is on, else all
    // ticked; the antenna box only for an FTA image.
    ExportColumns initialColumns() const;
    // UTF-8 as last exported when "Remember export layout" is on, else one byte per character.
    bool initialUtf8() const;

    // The page header texts in the language in use.
    ExportTexts texts() const;

    // What the Export window opens with: pages with headers, the initial columns, hexadecimal.
    ExportOptions startingOptions() const;

    // The pages of the headed export of both lists in the language in use, whatever form
    // `options` names: what the print and PDF commands lay out, one page on each sheet.
    std::vector<std::string> printedPages(ExportOptions options) const;
    // The name proposed for a PDF: the loaded file's with the extension ".pdf".
    QString pdfName() const;
    // The title a printed or PDF document carries: the loaded file's name.
    QString documentTitle() const;

    // Writes the export of both lists to `path`, one byte per character (a row of the
    // import-compatible form is then 100 bytes, whatever letters its name holds) or, with
    // `utf8`, in UTF-8; stores the columns and the encoding afterwards when they are to be
    // remembered.
    Status exportTo(const QString& path, ExportOptions options, bool utf8);

private:
    Session& session_;
    ConfigStore& store_;
    QString versionText_;
    QString target_;
};

}  // namespace qel
