#include "model/debug_log.h"

#include "bytes/conversions.h"

namespace qel {

std::string formatDebugLine(int a, int b, std::string_view text) {
    if (a == 0 && b == 0) return std::string(text);
    std::string line = pad4(toHex(static_cast<std::uint32_t>(a))) + " " +
                       pad4(toHex(static_cast<std::uint32_t>(b)));
    for (std::size_t i = 0; i < text.size(); i += 4) {
        line += ' ';
        line += text.substr(i, 4);
    }
    return line;
}

void debugPrint(DebugLog* log, int a, int b, std::string_view text) {
    if (log != nullptr) log->writeLine(formatDebugLine(a, b, text));
}

}  // namespace qel
