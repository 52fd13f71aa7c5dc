#include "app/config_store.h"

#include <QDir>
#include <QFileInfo>

namespace qel {

ConfigStore::ConfigStore(QSettings& settings, QString defaultWorkingDir)
    : s_(settings), defaultWorkingDir_(std::move(defaultWorkingDir)) {}

QString ConfigStore::StoredKey(const QString& section, const QString& key) const {
    s_.beginGroup(section);
    const QStringList keys = s_.childKeys();
    s_.endGroup();
    for (const QString& k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) return k;
    }
    return {};
}

QString ConfigStore::Value(const QString& section, const QString& key, bool* found) const {
    const QString stored = StoredKey(section, key);
    if (found != nullptr) *found = !stored.isEmpty();
    if (stored.isEmpty()) return {};
    return s_.value(section + '/' + stored).toString();
}

void ConfigStore::SetValue(const QString& section, const QString& key, const QString& value) {
    const QString stored = StoredKey(section, key);
    s_.setValue(section + '/' + (stored.isEmpty() ? key : stored), value);
}

QString ConfigStore::ReadOrDefault(const QString& section, const QString& key, const QString& def,
                                   const QString& writeAs, bool* wasMissing) {
    bool found = false;
    const QString v = Value(section, key, &found);
    if (wasMissing != nullptr) *wasMissing = !found;
    if (found) return v;
    s_.setValue(section + '/' + writeAs, def);
    return def;
}

ConfigStore::Loaded ConfigStore::Get_Configuration() {
    Loaded out;
    Config& c = out.config;
    c.comPortText = ReadOrDefault("Serial port", "ComPort", "1", "ComPort");
    bool numeric = false;
    const int port = c.comPortText.trimmed().toInt(&numeric);
    c.comPort = numeric ? port : 0;
    c.language = ReadOrDefault("Language", "Language", "ENG", "Language");
    c.rememberLayout = ReadOrDefault("Layout", "Rememberlayout", "F", "Rememberlayout");
    c.pageLayout = ReadOrDefault("Layout", "Pagelayout", "00000000", "Pagelayout");
    if (c.pageLayout.size() == 7) c.pageLayout.prepend('0');
    c.littleBox = ReadOrDefault("Layout", "Littlebox", "0", "Littlebox");

    bool missing = false;
    const QString path =
        ReadOrDefault("Path", "FilePath", defaultWorkingDir_, "Filepath", &missing);
    if (!missing && !QFileInfo(path).isDir()) {
        out.workPathIncorrect = true;
        c.workingDir = defaultWorkingDir_;
    } else {
        c.workingDir = path;
    }
    s_.sync();
    if (s_.status() != QSettings::NoError && !out.workPathIncorrect) {
        // A store that cannot be read or written: warn and work in the default folder.
        out.workPathIncorrect = true;
        c.workingDir = defaultWorkingDir_;
    }
    return out;
}

void ConfigStore::SaveOptions(const Config& c) {
    SetValue("Path", "filepath", c.workingDir);
    SetValue("Serial port", "ComPort", c.comPortText);
    SetValue("Layout", "Rememberlayout", c.rememberLayout);
    SetValue("Layout", "Littlebox", c.littleBox);
    SetValue("Language", "Language", c.language);
    s_.sync();
}

}  // namespace qel
