#include "files/file_io.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qel {

namespace {

// Pushes the written file to the disk before it replaces the old one.
bool syncToDisk(const fs::path& path) {
#if defined(__unix__) || defined(__APPLE__)
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#else
    (void)path;
    return true;
#endif
}

fs::path temporaryNameBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path tmp = target;
    tmp += ".qel-" + std::to_string(stamp % 1000000007) + "-" + std::to_string(counter++) + ".tmp";
    return tmp;
}

}  // namespace

Result<std::string> readFileBytes(const std::string& path, std::size_t maxSize) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return ErrorCode::CannotOpenFile;
    const auto size = fs::file_size(path, ec);
    if (ec) return ErrorCode::CannotOpenFile;
    if (size > maxSize) return ErrorCode::FileTooLarge;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ErrorCode::CannotOpenFile;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return ErrorCode::CannotOpenFile;
    // A file that grew while we read it is read again only up to the size we checked.
    return bytes;
}

Status writeFileAtomic(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const auto resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::path tmp = temporaryNameBeside(target);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return ErrorCode::CannotWriteFile;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(tmp, ec);
            return ErrorCode::CannotWriteFile;
        }
    }
    if (!syncToDisk(tmp)) {
        fs::remove(tmp, ec);
        return ErrorCode::CannotWriteFile;
    }
    const auto status = fs::status(target, ec);
    if (!ec && fs::exists(status)) fs::permissions(tmp, status.permissions(), ec);
    fs::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return ErrorCode::CannotWriteFile;
    }
    return {};
}

}  // namespace qel
