// Finding a channel in the shown list by a piece of its row text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

struct FindOutcome {
    std::optional<int> match;  // the row found (1-based)
    int lastSearched = 0;      // the rows from the start to this one lose their marking
};

// Searches rows `startRow` to the last channel row (rowTexts holds the channel rows
// only) for `text`, ignoring case, and never stops on `selectedRow`. No wrap-around.
FindOutcome findMatch(const std::vector<std::string>& rowTexts, std::string_view text, int startRow,
                      int selectedRow);

// Upper case of an 8-bit (Latin-1) text.
std::string upperLatin1(std::string_view text);

}  // namespace qel
