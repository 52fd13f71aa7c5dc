// Whole-file reads with a size limit, and saves that never destroy the previous file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

// Reads the whole file; refuses files larger than maxSize with FileTooLarge.
Result<std::string> readFileBytes(const std::string& path, std::size_t maxSize);

// Writes bytes to a temporary file beside the target (readable by its owner only while it
// is written), flushes it to disk and renames it over the target, so the previous file
// survives a crash or a full disk. A symbolic link is followed and its target replaced; an
// existing file keeps its permissions, a new one gets the usual ones. Refused with
// CannotWriteFile: a target that is not a regular file (a device, a pipe, a folder) and a
// write-protected one. A temporary file a killed save left beside the target is removed.
Status writeFileAtomic(const std::string& path, std::string_view bytes);

// How the names of a target's temporary files begin: short, whatever the target's length.
std::string temporaryPrefixFor(const std::string& target);

}  // namespace qel
