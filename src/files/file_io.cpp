#include "files/file_io.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Seconds after which a temporary file is a leftover, whoever wrote it.
constexpr time_t kLeftoverAge = 5 * 60;

bool isOurTemporary(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() + 4 && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// A temporary file is left behind by a save that was killed; it is somebody else's work in
// progress while its writer (the process id in its name) still runs. A name whose process is
// gone, or a file older than any save takes, is a leftover.
bool isLeftover(const fs::path& tmp, const std::string& prefix) {
    const std::string name = tmp.filename().string();
    std::size_t end = prefix.size();
    pid_t pid = 0;
    bool digits = false;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9' && pid < 100000000) {
        pid = pid * 10 + (name[end++] - '0');
        digits = true;
    }
    if (digits && end < name.size() && name[end] == '-' && pid > 0) {
        if (::kill(pid, 0) == -1 && errno == ESRCH) return true;
    }
    struct stat st {};
    if (::lstat(tmp.c_str(), &st) != 0) return false;
    return ::time(nullptr) - st.st_mtime > kLeftoverAge;
}

// The next save to a target removes the temporary files its killed saves left.
void removeLeftovers(const fs::path& target) {
    const std::string prefix = temporaryPrefixFor(target.string());
    std::error_code ec;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (isOurTemporary(it->path().filename().string(), prefix) &&
            isLeftover(it->path(), prefix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

// The mode a file gets when it is created here: 0666 less the process's umask.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Pushes the folder's entry for the renamed file to the disk.
void syncFolder(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A new temporary file beside the target, readable by its owner only while it is written.
int createTemporary(const fs::path& target, fs::path& tmp) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = temporaryPrefixFor(target.string());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = target.parent_path() /
              (prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The previous file's owner and group go to the file that replaces it (a save by root leaves
// a user's file the user's). Who may not give a file away keeps what it may: the group, if
// the user belongs to it, else the temporary file's own.
bool keepOwner(int fd, const struct stat& existing) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    if (made.st_uid == existing.st_uid && made.st_gid == existing.st_gid) return true;
    if (::fchown(fd, existing.st_uid, existing.st_gid) == 0) return true;
    if (errno != EPERM) return false;
    // Not a member of the group: the file keeps the temporary file's group, as said above.
    if (made.st_gid != existing.st_gid &&
        ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0 && errno != EPERM) {
        return false;
    }
    return true;
}

Error cannotWrite(int errnum) {
    return Error{ErrorCode::CannotWriteFile, systemErrorText(errnum)};
}

}  // namespace

std::string temporaryPrefixFor(const std::string& target) {
    static const char kHex[] = "0123456789abcdef";
    const std::uint32_t h = nameHash(fs::path(target).filename().string());
    std::string prefix = ".qel-";
    for (int shift = 28; shift >= 0; shift -= 4)
        prefix += kHex[(h >> shift) & 15U];
    return prefix + "-";
}

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
    fs::path target(path);
    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // A link is followed and kept; one that leads to no file (or only to itself) is
        // refused rather than replaced by a file.
        struct stat linked {};
        if (::stat(target.c_str(), &linked) != 0) {
            return Error{ErrorCode::SaveOntoBrokenLink, systemErrorText(errno)};
        }
        std::error_code ec;
        const auto resolved = fs::canonical(target, ec);
        if (ec) return Error{ErrorCode::SaveOntoBrokenLink, systemErrorText(ec.value())};
        target = resolved;
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        // Only a regular file is replaced: never a device, a pipe or a folder.
        if (S_ISDIR(existing.st_mode)) return cannotWrite(EISDIR);
        if (!S_ISREG(existing.st_mode)) return ErrorCode::CannotWriteFile;
        // A write-protected file stays as it is, as a plain write would leave it.
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return cannotWrite(EACCES);
    }
    removeLeftovers(target);

    fs::path tmp;
    const int fd = createTemporary(target, tmp);
    if (fd < 0) return cannotWrite(errno);
    const mode_t mode = exists ? (existing.st_mode & 07777) : newFileMode();
    int failure = 0;
    if (!writeAll(fd, bytes) || (exists && !keepOwner(fd, existing)) || ::fchmod(fd, mode) != 0 ||
        ::fsync(fd) != 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(tmp.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(tmp.c_str());
        return cannotWrite(failure);
    }
    syncFolder(target.parent_path());
    return {};
}

}  // namespace qel
