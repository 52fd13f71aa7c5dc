// Whole-file reads with a size limit, and saves that never destroy the previous file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

// The program keeps every path as UTF-8 text; these give the system's path for it and back
// (on Windows through the wide characters, so that names outside the ANSI code page open).
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// Reads the whole file; refuses files larger than maxSize with FileTooLarge.
Result<std::string> readFileBytes(const std::string& path, std::size_t maxSize);

// Writes bytes to a temporary file beside the target (readable by its owner only while it
// is written), flushes it to disk and renames it over the target, so the previous file
// survives a crash or a full disk. A symbolic link is followed and kept; one that leads to no
// file, or a loop of links, is refused with SaveOntoBrokenLink. An existing file keeps its
// permissions, owner and group (as far as the process may give them), a new one gets the
// usual ones. Refused with CannotWriteFile: a target that is not a regular file (a device, a
// pipe, a folder) and a write-protected one. A failure's detail is the system's reason
// (systemErrorText). The temporary file's name holds the writer's process id: a save removes
// the temporary files beside the target whose writer is gone (a killed save's), and leaves
// those of a save still running in another process.
Status writeFileAtomic(const std::string& path, std::string_view bytes);

// How the names of a target's temporary files begin: short, whatever the target's length.
std::string temporaryPrefixFor(const std::string& target);

}  // namespace qel
