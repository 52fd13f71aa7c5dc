// The most recently opened channel files, newest first, kept in the settings store.
#pragma once

#include <QSettings>
#include <QStringList>

namespace qel {

class RecentFiles {
public:
    static constexpr int kMax = 8;
    explicit RecentFiles(QSettings& settings) : settings_(settings) {}

    QStringList paths() const;
    void add(const QString& path);
    void remove(const QString& path);

private:
    QSettings& settings_;
};

}  // namespace qel
