#include "files/file_io.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "files/file_io_system.h"

namespace fs = std::filesystem;

namespace qel {

namespace {

// FNV-1a of the target's name: the temporary files of one target share a short prefix,
// whatever the length of its name.
std::uint32_t nameHash(std::string_view name) {
    std::uint32_t h = 2166136261U;
    for (char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619U;
    }
    return h;
}

// Time after which a temporary file is a leftover, whoever wrote it.
constexpr auto kLeftoverAge = std::chrono::minutes(5);

bool isOurTemporary(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() + 4 && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// A temporary file is left behind by a save that was killed; it is somebody else's work in
// progress while its writer (the process id in its name) still runs. A name whose process is
// gone, or a file older than any save takes, is a leftover.
bool isLeftover(const fs::path& tmp, const std::string& prefix) {
    const std::string name = os::utf8Of(tmp.filename());
    std::size_t end = prefix.size();
    unsigned long pid = 0;
    bool digits = false;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9' && pid < 100000000) {
        pid = pid * 10 + static_cast<unsigned long>(name[end++] - '0');
        digits = true;
    }
    if (digits && end < name.size() && name[end] == '-' && pid > 0 && os::processGone(pid)) {
        return true;
    }
    std::error_code ec;
    const auto written = fs::last_write_time(tmp, ec);
    if (ec) return false;
    return fs::file_time_type::clock::now() - written > kLeftoverAge;
}

}  // namespace

namespace os {

void removeLeftovers(const fs::path& target) {
    const std::string prefix = temporaryPrefixFor(utf8Of(target.filename()));
    std::error_code ec;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (isOurTemporary(utf8Of(it->path().filename()), prefix) &&
            isLeftover(it->path(), prefix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

fs::path temporaryName(const fs::path& target, unsigned attempt) {
    return target.parent_path() /
           pathOf(temporaryPrefixFor(utf8Of(target.filename())) + std::to_string(processId()) +
                  "-" + std::to_string(attempt) + ".tmp");
}

}  // namespace os

std::string temporaryPrefixFor(const std::string& target) {
    static const char kHex[] = "0123456789abcdef";
    std::string_view name = target;
    if (const std::size_t slash = name.find_last_of(os::kFolderSeparators);
        slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const std::uint32_t h = nameHash(name);
    std::string prefix = ".qel-";
    for (int shift = 28; shift >= 0; shift -= 4)
        prefix += kHex[(h >> shift) & 15U];
    return prefix + "-";
}

fs::path pathFromUtf8(const std::string& utf8) {
    return os::pathOf(utf8);
}

std::string utf8FromPath(const fs::path& path) {
    return os::utf8Of(path);
}

Result<std::string> readFileBytes(const std::string& path, std::size_t maxSize) {
    const fs::path file = os::pathOf(path);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return ErrorCode::CannotOpenFile;
    const auto size = fs::file_size(file, ec);
    if (ec) return ErrorCode::CannotOpenFile;
    if (size > maxSize) return ErrorCode::FileTooLarge;
    std::ifstream in(file, std::ios::binary);
    if (!in) return ErrorCode::CannotOpenFile;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return ErrorCode::CannotOpenFile;
    // A file that grew while we read it is read again only up to the size we checked.
    return bytes;
}

}  // namespace qel
