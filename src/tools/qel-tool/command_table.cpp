#include <algorithm>
#include <iostream>

#include "bytes/conversions.h"
#include "files/file_formats.h"
#include "files/text_import.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

bool Args::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const auto& option) { return option.first == name; });
}

std::string Args::value(std::string_view name) const {
    const auto last = std::find_if(options.rbegin(), options.rend(),
                                   [name](const auto& option) { return option.first == name; });
    return last == options.rend() ? std::string() : last->second;
}

namespace {

bool isChoice(std::string_view choices, std::string_view value) {
    while (true) {
        const std::size_t bar = std::min(choices.find('|'), choices.size());
        if (choices.substr(0, bar) == value) return true;
        if (bar == choices.size()) return false;
        choices.remove_prefix(bar + 1);
    }
}

// The reason `value` does not fit the option; empty when it does.
std::string valueProblem(const OptionSpec& known, const std::string& value) {
    switch (known.type) {
        case OptionType::Flag:
        case OptionType::Text:
            return {};
        case OptionType::Path:
            return value.empty() ? std::string(known.name) + " needs a value" : std::string();
        case OptionType::Choice:
            if (isChoice(known.choices, value)) return {};
            return std::string(known.name) + " takes " + std::string(known.choices);
        case OptionType::Millis:
            if (!value.empty() && value.size() <= 6 &&
                value.find_first_not_of("0123456789") == std::string::npos &&
                decimalValue(value) > 0) {
                return {};
            }
            return std::string(known.name) + " takes 1 to 999999 (ms)";
    }
    return {};
}

}  // namespace

std::optional<Args> parseArgs(const Command& command, std::span<const std::string> words,
                              std::string& why) {
    Args args;
    args.command = &command;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (operandsOnly || !word.starts_with("--")) {
            args.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            operandsOnly = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const auto known = std::find_if(command.options.begin(), command.options.end(),
                                        [&name](const OptionSpec& s) { return s.name == name; });
        if (known == command.options.end()) {
            why = "unknown option " + name;
            return std::nullopt;
        }
        if (known->once && args.has(name)) {
            why = name + " is given twice";
            return std::nullopt;
        }
        std::string value;
        if (known->type == OptionType::Flag) {
            if (equals != std::string::npos) {
                why = name + " takes no value";
                return std::nullopt;
            }
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            why = name + " needs a value";
            return std::nullopt;
        }
        if (why = valueProblem(*known, value); !why.empty()) return std::nullopt;
        args.options.emplace_back(name, std::move(value));
    }
    if (args.operands.size() < command.minOperands || args.operands.size() > command.maxOperands) {
        return std::nullopt;
    }
    return args;
}

std::vector<const Command*> allCommands() {
    std::vector<const Command*> all;
    for (const auto kin : {fileCommands, exportCommands, sortCommands, diffCommands, checkCommands,
                           lzwCommands, transferCommands}) {
        for (const Command& command : kin())
            all.push_back(&command);
    }
    return all;
}

const Command* findCommand(std::string_view name) {
    for (const Command* command : allCommands()) {
        if (command->name == name) return command;
    }
    return nullptr;
}

namespace {

void printUsage(const Command& command) {
    std::cerr << "  qel-tool " << command.synopsis << '\n' << command.help;
}

}  // namespace

int usage() {
    std::cerr << "usage:\n  qel-tool --version\n";
    for (const Command* command : allCommands())
        printUsage(*command);
    std::cerr << "  Options may come anywhere after the command, as --name value or\n"
                 "  --name=value; after -- every word is an operand.\n";
    return kExitUsage;
}

int usage(const Command& command, std::string_view why) {
    if (!why.empty()) std::cerr << "qel-tool " << command.name << ": " << why << '\n';
    std::cerr << "usage: qel-tool " << command.synopsis << '\n' << command.help;
    return kExitUsage;
}

int refused(const Status& st) {
    std::cerr << importMessage(st) << '\n';
    return kExitRefused;
}

int refusedFile(const std::string& path, const Status& st) {
    std::cerr << "qel-tool: " << path << ": " << importMessage(st) << '\n';
    return kExitRefused;
}

int unsupportedInput(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitRefused;
}

int unsupportedOutput(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitUsage;
}

void reportFailure(std::string_view part, const Status& st) {
    std::cerr << errorText(st.error()) << " (" << part;
    if (!st.detail().empty()) std::cerr << ": " << st.detail();
    std::cerr << ")\n";
}

int failed(std::string_view part, const Status& st) {
    reportFailure(part, st);
    return kExitRefused;
}

int importFormOfImage() {
    std::cerr << "The import compatible form needs a DVB98 channel list\n";
    return kExitRefused;
}

}  // namespace qel::tool
