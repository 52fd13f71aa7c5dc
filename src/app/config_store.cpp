#include "app/config_store.h"

#include <QDir>
#include <QFileInfo>

namespace qel {

namespace {

// The stored spellings of the switches: the layout memory and the upload switches are
// "T" or "F", the data row "1" or "0".
QString trueFalse(bool on) {
    return on ? QStringLiteral("T") : QStringLiteral("F");
}

QString oneZero(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The export columns as a row of digits, "1" for a column written, in the export's order.
// A stored row of 7 digits is read with a leading "0".
QString columnDigits(const ExportColumns& c) {
    QString digits;
    for (bool on : {c.ids, c.antenna, c.frequency, c.polarisation, c.symbolRate, c.fec, c.pids,
                    c.bandwidth}) {
        digits += on ? '1' : '0';
    }
    return digits;
}

ExportColumns columnsOf(QString digits) {
    if (digits.size() == 7) digits.prepend('0');
    const auto on = [&digits](int i) { return i < digits.size() && digits[i] == '1'; };
    ExportColumns c;
    c.ids = on(0);
    c.antenna = on(1);
    c.frequency = on(2);
    c.polarisation = on(3);
    c.symbolRate = on(4);
    c.fec = on(5);
    c.pids = on(6);
    c.bandwidth = on(7);
    return c;
}

}  // namespace

int Config::comPort() const {
    bool numeric = false;
    const int port = comPortText.trimmed().toInt(&numeric);
    return numeric ? port : 0;
}

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
    c.language = readOrDefault("Language", "Language", "ENG", "Language");
    c.rememberExportLayout =
        readOrDefault("Layout", "Rememberlayout", "F", "Rememberlayout") == QLatin1String("T");
    c.exportColumns = columnsOf(readOrDefault("Layout", "Pagelayout", "00000000", "Pagelayout"));
    c.exportUtf8 = value("Layout", "ExportUtf8") == QLatin1String("T");
    c.dataRowAtStart = readOrDefault("Layout", "Littlebox", "0", "Littlebox").toInt() == 1;
    // The upload's safety switches are stored only once the options window saves them.
    c.backupBeforeUpload = value("Serial port", "Backup") != "F";
    c.verifyAfterUpload = value("Serial port", "Verify") != "F";
    c.askOnCheckErrors = value("Check", "AskOnErrors") != "F";

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
    setValue("Layout", "Rememberlayout", trueFalse(c.rememberExportLayout));
    setValue("Layout", "Littlebox", oneZero(c.dataRowAtStart));
    setValue("Serial port", "Backup", trueFalse(c.backupBeforeUpload));
    setValue("Serial port", "Verify", trueFalse(c.verifyAfterUpload));
    setValue("Check", "AskOnErrors", trueFalse(c.askOnCheckErrors));
    setValue("Language", "Language", c.language);
    settings_.sync();
}

void ConfigStore::saveExportChoices(const Config& c) {
    setValue("Layout", "Pagelayout", columnDigits(c.exportColumns));
    setValue("Layout", "ExportUtf8", trueFalse(c.exportUtf8));
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

// A place is stored as "x y", in the screens' coordinates.
std::optional<QPoint> ConfigStore::toolWindowPlace(const QString& window) const {
    const QStringList parts =
        value(QStringLiteral("Places"), window).split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) return std::nullopt;
    bool xRead = false;
    bool yRead = false;
    const QPoint place(parts[0].toInt(&xRead), parts[1].toInt(&yRead));
    if (!xRead || !yRead) return std::nullopt;
    return place;
}

void ConfigStore::setToolWindowPlace(const QString& window, QPoint place) {
    setValue(QStringLiteral("Places"), window,
             QStringLiteral("%1 %2").arg(place.x()).arg(place.y()));
}

}  // namespace qel
