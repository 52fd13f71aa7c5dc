#include "app/recent_files.h"

#include <QFileInfo>

namespace qel {

namespace {
const char* const kKey = "Recent/Files";
}

QStringList RecentFiles::List() const {
    return s_.value(kKey).toStringList();
}

void RecentFiles::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = List();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kMax)
        files.removeLast();
    s_.setValue(kKey, files);
}

void RecentFiles::Remove(const QString& path) {
    QStringList files = List();
    files.removeAll(path);
    s_.setValue(kKey, files);
}

}  // namespace qel
