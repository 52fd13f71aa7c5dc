#include "listedit/find.h"

namespace qel {

std::string upperLatin1(std::string_view text) {
    std::string up(text);
    for (char& c : up) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
            c = static_cast<char>(b - 32);
        }
    }
    return up;
}

FindOutcome findMatch(const std::vector<std::string>& rowTexts, std::string_view text, int startRow,
                      int selectedRow) {
    FindOutcome out;
    const std::string wanted = upperLatin1(text);
    const int last = static_cast<int>(rowTexts.size());
    for (int i = std::max(startRow, 1); i <= last; ++i) {
        out.lastSearched = i;
        if (i != selectedRow &&
            upperLatin1(rowTexts[static_cast<std::size_t>(i - 1)]).find(wanted) !=
                std::string::npos) {
            out.match = i;
            break;
        }
    }
    return out;
}

}  // namespace qel
