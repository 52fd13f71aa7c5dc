// Whole-file reads with a size limit, and saves that never destroy the previous file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

// Reads the whole file; refuses files larger than maxSize with FileTooLarge.
Result<std::string> readFileBytes(const std::string& path, std::size_t maxSize);

// Writes bytes to a temporary file beside the target, flushes it to disk and renames
// it over the target, so the previous file survives a crash or a full disk.
// A symbolic link is followed and its target replaced; an existing file keeps its permissions.
Status writeFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace qel
