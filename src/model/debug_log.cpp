#include "model/debug_log.h"

#include "model/conversions.h"

namespace qel {

std::string FormatDebugLine(int a, int b, std::string_view text) {
    if (a == 0 && b == 0) return std::string(text);
    std::string line = Pad4(ToHex(static_cast<std::uint32_t>(a))) + " " +
                       Pad4(ToHex(static_cast<std::uint32_t>(b)));
    for (std::size_t i = 0; i < text.size(); i += 4) {
        line += ' ';
        line += text.substr(i, 4);
    }
    return line;
}

void DebugPrint(DebugLog* log, int a, int b, std::string_view text) {
    if (log != nullptr) log->WriteLine(FormatDebugLine(a, b, text));
}

}  // namespace qel
