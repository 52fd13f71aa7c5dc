#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qel::AppPaths {

QString DataDir() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir;
}

QString AntPosFile() {
    return DataDir() + "/AntPos.txt";
}

QString DebugLogFile() {
    return DataDir() + "/DEBUG.TXT";
}

QString LockFile() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + "/qel.lock";
}

QString FindSupplied(const QString& relativePath) {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QStringList places = {
        DataDir(),
        exeDir,
        exeDir + "/../share/qel",
    };
    for (const QString& place : places) {
        const QString candidate = QDir(place).filePath(relativePath);
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

QString HelpIndex(bool english) {
    const QString page = english ? QStringLiteral("index.html") : QStringLiteral("it/index.html");
    const QString supplied = FindSupplied("help/" + page);
    return supplied.isEmpty() ? QStringLiteral(":/help/") + page : supplied;
}

}  // namespace qel::AppPaths
