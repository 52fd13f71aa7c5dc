#include "app/debug_log_file.h"

namespace qel {

DebugLogFile::DebugLogFile(const QString& path) : file_(path) {
    file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void DebugLogFile::writeLine(std::string_view line) {
    if (!file_.isOpen()) return;
    file_.write(line.data(), static_cast<qint64>(line.size()));
    file_.write("\r\n");
    file_.flush();
}

}  // namespace qel
