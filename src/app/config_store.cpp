#include "app/config_store.h"

#include <QDir>
#include <QFileInfo>

namespace qel {

ConfigStore::ConfigStore(QSettings& settings, QString defaultWorkingDir)
    : settings_(settings), defaultWorkingDir_(std::move(defaultWorkingDir)) {}

QString ConfigStore::storedKey(const QString& section, const QString& key) const {
    settings_.beginGroup(section);
    const QStringList keys = settings_.childKeys();
    settings_.endGroup();
    for (const QString& k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) return k;
    }
    return {};
}

QString ConfigStore::value(const QString& section, const QString& key, bool* found) const {
    const QString stored = storedKey(section, key);
    if (found != nullptr) *found = !stored.isEmpty();
    if (stored.isEmpty()) return {};
    return settings_.value(section + '/' + stored).toString();
}

void ConfigStore::setValue(const QString& section, const QString& key, const QString& value) {
    const QString stored = storedKey(section, key);
    settings_.setValue(section + '/' + (stored.isEmpty() ? key : stored), value);
}

QString ConfigStore::readOrDefault(const QString& section, const QString& key, const QString& def,
                                   const QString& writeAs, bool* wasMissing) {
    bool found = false;
    const QString v = value(section, key, &found);
    if (wasMissing != nullptr) *wasMissing = !found;
    if (found) return v;
    settings_.setValue(section + '/' + writeAs, def);
    return def;
}

ConfigStore::Loaded ConfigStore::load() {
    Loaded out;
    Config& c = out.config;
    c.comPortText = readOrDefault("Serial port", "ComPort", "1", "ComPort");
    bool numeric = false;
    const int port = c.comPortText.trimmed().toInt(&numeric);
    c.comPort = numeric ? port : 0;
    c.language = readOrDefault("Language", "Language", "ENG", "Language");
    c.rememberLayout = readOrDefault("Layout", "Rememberlayout", "F", "Rememberlayout");
    c.pageLayout = readOrDefault("Layout", "Pagelayout", "00000000", "Pagelayout");
    if (c.pageLayout.size() == 7) c.pageLayout.prepend('0');
    c.littleBox = readOrDefault("Layout", "Littlebox", "0", "Littlebox");
    // The upload's safety switches are stored only once the options window saves them.
    c.backupBeforeUpload = value("Serial port", "Backup") != "F";
    c.verifyAfterUpload = value("Serial port", "Verify") != "F";

    bool missing = false;
    const QString path =
        readOrDefault("Path", "FilePath", defaultWorkingDir_, "Filepath", &missing);
    if (!missing && !QFileInfo(path).isDir()) {
        out.workPathIncorrect = true;
        c.workingDir = defaultWorkingDir_;
    } else {
        c.workingDir = path;
    }
    settings_.sync();
    if (settings_.status() != QSettings::NoError && !out.workPathIncorrect) {
        // A store that cannot be read or written: warn and work in the default folder.
        out.workPathIncorrect = true;
        c.workingDir = defaultWorkingDir_;
    }
    return out;
}

void ConfigStore::saveOptions(const Config& c) {
    setValue("Path", "filepath", c.workingDir);
    setValue("Serial port", "ComPort", c.comPortText);
    setValue("Layout", "Rememberlayout", c.rememberLayout);
    setValue("Layout", "Littlebox", c.littleBox);
    setValue("Serial port", "Backup", c.backupBeforeUpload ? "T" : "F");
    setValue("Serial port", "Verify", c.verifyAfterUpload ? "T" : "F");
    setValue("Language", "Language", c.language);
    settings_.sync();
}

QByteArray ConfigStore::windowGeometry() const {
    return QByteArray::fromBase64(
        value(QStringLiteral("Layout"), QStringLiteral("Window")).toLatin1());
}

void ConfigStore::setWindowGeometry(const QByteArray& geometry) {
    setValue(QStringLiteral("Layout"), QStringLiteral("Window"),
             QString::fromLatin1(geometry.toBase64()));
    settings_.sync();
}

}  // namespace qel
