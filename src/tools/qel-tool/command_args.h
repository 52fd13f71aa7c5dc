// The words after a qel-tool command: its operands (files, a port) and its options, in any
// order. A word beginning with "--" is an option; one that takes a value takes the next word,
// whatever it is. After a lone "--" every word is an operand.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qel::tool {

struct OptionRule {
    std::string_view name;  // "--by"
    bool takesValue = false;
};

struct CommandArgs {
    std::vector<std::string> operands;
    // Each option as it was given, in order; a flag's value is empty.
    std::vector<std::pair<std::string, std::string>> options;
    // Why the words are wrong: an option the command does not know, or one without its value.
    // Empty when they are not.
    std::string error;

    bool ok() const { return error.empty(); }
    bool has(std::string_view name) const;
};

// `args` as main gets them, the command first (not looked at).
CommandArgs splitCommandArgs(const std::vector<std::string>& args,
                             std::initializer_list<OptionRule> known);

}  // namespace qel::tool
