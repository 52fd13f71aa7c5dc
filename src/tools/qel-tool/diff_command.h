// qel-tool diff: the comparison of two channel files, as a report or as JSON.
#pragma once

#include <string>
#include <vector>

namespace qel::tool {

// "diff A B [--json]" (args[0] is "diff"). Exit status: 0 equal, 3 different, 2 a file
// refused, 1 wrong usage.
int diffCommand(const std::vector<std::string>& args);

}  // namespace qel::tool
