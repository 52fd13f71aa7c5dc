#include "app/recent_files.h"

#include <QFileInfo>

namespace qel {

namespace {
const char* const kKey = "Recent/Files";
}

QStringList RecentFiles::paths() const {
    return settings_.value(kKey).toStringList();
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = paths();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kMax)
        files.removeLast();
    settings_.setValue(kKey, files);
}

void RecentFiles::remove(const QString& path) {
    QStringList files = paths();
    files.removeAll(path);
    settings_.setValue(kKey, files);
}

}  // namespace qel
