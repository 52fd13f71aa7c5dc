// The debug log file written while debug mode is on.
#pragma once

#include <QFile>
#include <QString>

#include "model/debug_log.h"

namespace qel {

class DebugLogFile : public DebugLog {
public:
    // Creates or empties the file and keeps it open.
    explicit DebugLogFile(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void writeLine(std::string_view line) override;

private:
    QFile file_;
};

}  // namespace qel
