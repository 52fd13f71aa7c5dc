// The safe save on Windows: a temporary file beside the target, written and flushed, then put
// in the target's place by ReplaceFileW (which keeps the previous file's attributes, owner and
// security) or, for a new file, by MoveFileExW with write-through. Paths go through the wide
// characters, so that names outside the ANSI code page are saved.
#include <windows.h>

#include <atomic>
#include <cerrno>

#include "files/file_io.h"
#include "files/file_io_system.h"

namespace fs = std::filesystem;

namespace qel {

namespace os {

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

unsigned long processId() {
    return ::GetCurrentProcessId();
}

bool processGone(unsigned long pid) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(process, &code) != 0 && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

}  // namespace os

namespace {

// The system's error as the error number whose reason the program words in both languages.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_BUSY:
        case ERROR_USER_MAPPED_FILE:
            return EBUSY;
        default:
            return EIO;
    }
}

Error cannotWrite(int errnum) {
    return Error{ErrorCode::CannotWriteFile, systemErrorText(errnum)};
}

// A path that leads through a file says so, as on POSIX systems, rather than that the
// folder is missing.
Error cannotWriteWin(DWORD error, const fs::path& target) {
    if (error == ERROR_PATH_NOT_FOUND) {
        std::error_code ec;
        for (fs::path up = target.parent_path(); !up.empty() && up != up.parent_path();
             up = up.parent_path()) {
            const fs::file_status st = fs::status(up, ec);
            if (fs::is_directory(st)) break;
            if (fs::exists(st)) return cannotWrite(ENOTDIR);
        }
    }
    return cannotWrite(errnoOf(error));
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), DWORD{1} << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), piece, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new temporary file beside the target that no other process may open while it is
// written.
HANDLE createTemporary(const fs::path& target, fs::path& tmp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = os::temporaryName(target, counter++);
        HANDLE file = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Whether an existing name is a file on a disk: not a device ("COM1", "NUL") nor a pipe.
bool isDiskFile(const fs::path& target) {
    HANDLE file =
        ::CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    ::CloseHandle(file);
    return disk;
}

}  // namespace

Status writeFileAtomic(const std::string& path, std::string_view bytes) {
    // The whole path: ReplaceFileW looks for the folder of what it is given, and a name
    // relative to the current folder (or to the drive's root) has none.
    std::error_code absoluteError;
    fs::path target = fs::absolute(os::pathOf(path), absoluteError);
    if (absoluteError) target = os::pathOf(path);
    DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link is followed and kept; one that leads to no file is refused rather than
        // replaced by a file.
        std::error_code ec;
        const auto resolved = fs::canonical(target, ec);
        if (ec || !fs::exists(resolved, ec)) {
            return Error{ErrorCode::SaveOntoBrokenLink, systemErrorText(ENOENT)};
        }
        target = resolved;
        attributes = ::GetFileAttributesW(target.c_str());
    }
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        // Only a file on a disk is replaced: never a device or a folder.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return cannotWrite(EISDIR);
        if (!isDiskFile(target)) return ErrorCode::CannotWriteFile;
        // A write-protected file stays as it is, as a plain write would leave it.
        if (attributes & FILE_ATTRIBUTE_READONLY) return cannotWrite(EACCES);
    } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
        // A reserved device name ("COM1", "NUL") has no attributes and is no file either.
        if (!isDiskFile(target) && fs::path(target).has_filename()) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_PATH_NOT_FOUND) return ErrorCode::CannotWriteFile;
        }
    }
    os::removeLeftovers(target);

    fs::path tmp;
    HANDLE file = createTemporary(target, tmp);
    if (file == INVALID_HANDLE_VALUE) return cannotWriteWin(::GetLastError(), target);
    DWORD failure = 0;
    if (!writeAll(file, bytes) || !::FlushFileBuffers(file)) failure = ::GetLastError();
    if (!::CloseHandle(file) && failure == 0) failure = ::GetLastError();
    if (failure == 0) {
        const bool placed =
            exists ? ::ReplaceFileW(target.c_str(), tmp.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                   : ::MoveFileExW(tmp.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!placed) failure = ::GetLastError();
    }
    if (failure != 0) {
        ::DeleteFileW(tmp.c_str());
        return cannotWriteWin(failure, target);
    }
    return {};
}

}  // namespace qel
