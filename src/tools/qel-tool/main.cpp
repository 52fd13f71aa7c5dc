// qel-tool: the program's file formats and its serial transfers from the command line.
// Every command is a row of the command table (tool_command.h); `qel-tool` alone prints the
// usage of every row. Exit status: 0 done, 1 wrong usage (an output of a type the command
// cannot write among it), 2 an input refused or a transfer failed (the message on stderr),
// 3 diff's files differ or check found warnings only.

#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "tool_command.h"
#include "tool_common.h"
#include "tool_platform.h"

int main(int argc, char** argv) {
    using namespace qel::tool;
    prepareStandardStreams();
    const std::vector<std::string> words = arguments(argc, argv);
    if (words.size() == 1 && words[0] == "--version") {
        std::cout << "qel-tool " QEL_VERSION "\n";
        return kExitOk;
    }
    const Command* command = words.empty() ? nullptr : findCommand(words[0]);
    if (command == nullptr) return usage();
    std::string why;
    const auto args = parseArgs(*command, std::span(words).subspan(1), why);
    if (!args) return usage(*command, why);
    return command->run(*args);
}
