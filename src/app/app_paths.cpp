#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qel::AppPaths {

QString dataDir() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir;
}

QString antPosPath() {
    return dataDir() + "/AntPos.txt";
}

QString debugLogPath() {
    return dataDir() + "/DEBUG.TXT";
}

QString lockPath() {
#ifdef Q_OS_WIN
    // Windows has no runtime folder (Qt answers the home folder): the user's temporary one.
    QString dir = QDir::tempPath();
#else
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + "/qel.lock";
}

QStringList suppliedPlaces() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {dataDir(), exeDir, QDir::cleanPath(exeDir + "/../share/qel")};
}

QString findSupplied(const QString& relativePath) {
    for (const QString& place : suppliedPlaces()) {
        const QString candidate = QDir(place).filePath(relativePath);
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

QString helpIndex(bool english) {
    const QString page = english ? QStringLiteral("index.html") : QStringLiteral("it/index.html");
    const QString supplied = findSupplied("help/" + page);
    return supplied.isEmpty() ? QStringLiteral(":/help/") + page : supplied;
}

}  // namespace qel::AppPaths
