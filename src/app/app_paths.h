// Where the program keeps its files: the per-user data folder for what it writes
// (AntPos.txt, DEBUG.TXT), and the places it looks for what comes with it (help).
#pragma once

#include <QString>
#include <QStringList>

namespace qel {

namespace AppPaths {

// The per-user data folder, created when missing.
QString dataDir();
QString antPosPath();
QString debugLogPath();
// The single-instance lock.
QString lockPath();

// Where files supplied with the program are looked for, in order: the data folder, beside
// the executable, then the installed share folder.
QStringList suppliedPlaces();
// A file supplied with the program: the first of suppliedPlaces() that holds it; empty when
// found nowhere.
QString findSupplied(const QString& relativePath);

// The first page of the user help in English or Italian: a supplied copy when there is
// one, else the copy built into the program.
QString helpIndex(bool english);

}  // namespace AppPaths

}  // namespace qel
