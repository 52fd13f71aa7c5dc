// The safe save on POSIX systems: a temporary file beside the target, written, given the
// previous file's mode, owner and group, flushed, and renamed over the target; the folder's
// entry flushed after it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "files/file_io.h"
#include "files/file_io_system.h"

namespace fs = std::filesystem;

namespace qel {

namespace os {

fs::path pathOf(const std::string& utf8) {
    return fs::path(utf8);
}

std::string utf8Of(const fs::path& path) {
    return path.string();
}

unsigned long processId() {
    return static_cast<unsigned long>(::getpid());
}

bool processGone(unsigned long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

}  // namespace os

namespace {

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
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = os::temporaryName(target, counter++);
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
    os::removeLeftovers(target);

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
