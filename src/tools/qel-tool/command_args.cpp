#include "command_args.h"

#include <algorithm>

namespace qel::tool {

bool CommandArgs::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const auto& option) { return option.first == name; });
}

CommandArgs splitCommandArgs(const std::vector<std::string>& args,
                             std::initializer_list<OptionRule> known) {
    CommandArgs split;
    bool operandsOnly = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (operandsOnly || !word.starts_with("--")) {
            split.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            operandsOnly = true;
            continue;
        }
        const auto* rule = std::find_if(known.begin(), known.end(),
                                        [&word](const OptionRule& s) { return s.name == word; });
        if (rule == known.end()) {
            split.error = "unknown option " + word;
            return split;
        }
        if (!rule->takesValue) {
            split.options.emplace_back(word, std::string());
            continue;
        }
        if (i + 1 >= args.size()) {
            split.error = word + " needs a value";
            return split;
        }
        split.options.emplace_back(word, args[++i]);
    }
    return split;
}

}  // namespace qel::tool
