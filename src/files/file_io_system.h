// What the whole-file reads and the safe save need of the operating system, apart from the
// save itself: file_io_posix.cpp and file_io_windows.cpp give it, each with its own
// writeFileAtomic. Only the files floor sees this.
#pragma once

#include <filesystem>
#include <string>

namespace qel::os {

#ifdef _WIN32
inline constexpr const char* kFolderSeparators = "/\\";
#else
inline constexpr const char* kFolderSeparators = "/";
#endif

// A path given as UTF-8 (as the program keeps every path), and back: on Windows through the
// wide characters, so that names outside the ANSI code page open.
std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

unsigned long processId();
// The process of that id has ended (or never was); false while it runs or when it cannot be
// told.
bool processGone(unsigned long pid);

// Removes the temporary files of `target` that a killed save left (their writer gone, or
// older than any save takes); those of a save running in another process stay.
void removeLeftovers(const std::filesystem::path& target);
// The name of a new temporary file beside `target`: the target's prefix, this process's id
// and `attempt`.
std::filesystem::path temporaryName(const std::filesystem::path& target, unsigned attempt);

}  // namespace qel::os
