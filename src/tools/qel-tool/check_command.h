// qel-tool check: the list check of a channel file, as text or JSON.
#pragma once

#include <string>
#include <vector>

namespace qel::tool {

// "check FILE [--json] [--lang en|it] [--settings FILE.g98] [--font FILE.fos|FILE.oc1]"
// (args[0] is "check"). Exit status: 0 nothing found, 3 warnings only, 2 an error-level
// finding or a file refused, 1 wrong usage.
int checkCommand(const std::vector<std::string>& args);

}  // namespace qel::tool
