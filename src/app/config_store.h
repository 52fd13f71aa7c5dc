// The stored configuration: sections and keys in the per-user settings store, read
// with their defaults (written back when missing) and key names matched without
// regard to case.
#pragma once

#include <QPoint>
#include <QSettings>
#include <QString>
#include <optional>

#include "files/text_export.h"

namespace qel {

// The configuration as the program uses it. The store keeps its own spellings ("T"/"F",
// "1"/"0", a row of digits): ConfigStore converts between the two when it loads and saves.
struct Config {
    QString comPortText = "1";  // the stored text: a number or a device path
    QString language = "ENG";   // "ENG" or any other code for Italian
    // The export window starts with the columns last exported instead of all of them.
    bool rememberExportLayout = false;
    // The columns last exported; used while rememberExportLayout is on.
    ExportColumns exportColumns{.ids = false,
                                .antenna = false,
                                .frequency = false,
                                .polarisation = false,
                                .symbolRate = false,
                                .fec = false,
                                .pids = false,
                                .bandwidth = false};
    // The text export in UTF-8 rather than one byte per character; remembered, as the
    // columns, while rememberExportLayout is on.
    bool exportUtf8 = false;
    bool dataRowAtStart = false;  // the main window shows its data row when it opens
    QString workingDir;           // start folder of the file dialogs
    // Before a DVB98 upload, what the receiver holds is downloaded and kept.
    bool backupBeforeUpload = true;
    // After a DVB98 upload, it is read back and compared with what was sent.
    bool verifyAfterUpload = true;
    // Saving a DVB98 list or uploading lists the check finds errors in asks first.
    bool askOnCheckErrors = true;

    // 1-4 for COM1-COM4; 0 when comPortText is a device path.
    int comPort() const;
};

class ConfigStore {
public:
    // `defaultWorkingDir` stands where a fresh configuration has no folder of its own.
    ConfigStore(QSettings& settings, QString defaultWorkingDir);

    struct Loaded {
        Config config;
        bool workPathIncorrect = false;  // the stored folder does not exist: the default is used
    };
    Loaded load();

    // The value of section/key, whatever the case of the stored key name; `found` tells
    // whether one is stored.
    QString value(const QString& section, const QString& key, bool* found = nullptr) const;
    // Writes under the stored spelling of the key when one exists, else under `key`.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Stores what the options window edits.
    void saveOptions(const Config& config);
    // Stores the columns and the encoding last exported.
    void saveExportChoices(const Config& config);

    // The frame's size and place when the program last closed (empty the first time).
    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray& geometry);
    // Where the user last put the tool window of that object name (nothing when never moved).
    std::optional<QPoint> toolWindowPlace(const QString& window) const;
    void setToolWindowPlace(const QString& window, QPoint place);

    const QString& defaultWorkingDir() const { return defaultWorkingDir_; }

private:
    QString storedKey(const QString& section, const QString& key) const;
    QString readOrDefault(const QString& section, const QString& key, const QString& def,
                          const QString& writeAs, bool* wasMissing = nullptr);

    QSettings& settings_;
    QString defaultWorkingDir_;
};

}  // namespace qel
