// qel-tool sort: a channel file sorted as the editing menu's Sort sorts the shown list.
#pragma once

#include <string>
#include <vector>

namespace qel::tool {

// `args` as main gets them, "sort" first. Exit status: 0 written, 1 wrong usage, 2 IN refused
// or OUT not written.
int sortCommand(const std::vector<std::string>& args);

}  // namespace qel::tool
