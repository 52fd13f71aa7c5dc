// The text export without widgets: the file it writes (the loaded file's name with ".txt"
// unless the user chose another), the texts of its page headers in the language in use, the
// column boxes remembered in the configuration, and the writing itself, in UTF-8 or one byte
// per character, through the program's safe save.
#pragma once

#include <QObject>
#include <QString>

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
