// The text export without widgets: the file it writes (the loaded file's name with ".txt"
// unless the user chose another), the texts of its page headers in the language in use, the
// column boxes remembered in the configuration, and the writing itself, in UTF-8 or one byte
// per character, through the program's safe save.
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

    // Writes the export of both lists to `path`; stores the page layout afterwards when it
    // is to be remembered. `latin1`: one byte per character, as older programs wrote.
    Status exportTo(const QString& path, ExportOptions options, bool latin1);

private:
    Session& session_;
    ConfigStore& store_;
    QString versionText_;
    QString target_;
};

}  // namespace qel
