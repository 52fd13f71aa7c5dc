// One qel-tool command as a row: its name, its usage, the options it takes (typed, checked
// by the one parser) and the function that runs it. The rows live with their kin (the file
// commands, export, lzw, the transfers, check/diff/sort); command_table.cpp lists the kins.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qel::tool {

enum class OptionType {
    Flag,    // no value
    Text,    // any value, empty too
    Path,    // a value that is not empty
    Choice,  // one of the option's choices
    Millis,  // a time of 1 to 999999 ms
};

struct OptionSpec {
    std::string_view name;  // "--by"
    OptionType type = OptionType::Flag;
    std::string_view choices = {};  // Choice: "name|freq|sid|sat"
    bool once = false;              // given twice is wrong usage
};

struct Command;

// The words after the command, checked against its options: options anywhere, as
// "--name value" or "--name=value"; after a lone "--" every word is an operand.
struct Args {
    const Command* command = nullptr;
    std::vector<std::string> operands;
    // Each option as given, in order; a flag's value is empty.
    std::vector<std::pair<std::string, std::string>> options;

    bool has(std::string_view name) const;
    // The value the option was last given; empty when it was not.
    std::string value(std::string_view name) const;
};

struct Command {
    std::string_view name;
    std::string_view synopsis;  // after "qel-tool "
    std::string_view help;      // lines indented by six spaces; may be empty
    std::span<const OptionSpec> options;
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;
    int (*run)(const Args& args) = nullptr;
};

// The words after the command, or nothing with the reason in `why`.
std::optional<Args> parseArgs(const Command& command, std::span<const std::string> words,
                              std::string& why);

// Every command, in the order the usage shows them.
std::vector<const Command*> allCommands();
const Command* findCommand(std::string_view name);

// The usage of every command (exit status 1), or of one after what was wrong with it.
int usage();
int usage(const Command& command, std::string_view why = {});

// The rows of each kin.
std::span<const Command> fileCommands();
std::span<const Command> exportCommands();
std::span<const Command> lzwCommands();
std::span<const Command> sortCommands();
std::span<const Command> diffCommands();
std::span<const Command> checkCommands();
std::span<const Command> transferCommands();

}  // namespace qel::tool
