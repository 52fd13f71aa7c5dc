// The debug log the readers write to while debug mode is on.
#pragma once

#include <string>
#include <string_view>

namespace qel {

class DebugLog {
public:
    virtual ~DebugLog() = default;
    // Called only while debug mode is on; `line` has no line end.
    virtual void writeLine(std::string_view line) = 0;
};

// One log line: the text alone when a and b are both 0; otherwise the 4-digit hex of
// a and of b, then the text in groups of 4 characters, each after a blank.
std::string formatDebugLine(int a, int b, std::string_view text);

// Writes one line to the log when there is one (debug mode on).
void debugPrint(DebugLog* log, int a, int b, std::string_view text);

}  // namespace qel
