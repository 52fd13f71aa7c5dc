// The safe save's POSIX side: permissions, owners, links, pipes, processes and file systems.
#include "files/file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::filesIn;
using test::TempDir;

TEST(WriteFileAtomic, RefusesWhatIsNotAWritableRegularFile) {
    TempDir dir;
    // A pipe, a link to a pipe, a device and a link to it: each is refused and stays what it
    // was. The device is a null device made in the test's own
    // folder, never one of the machine's: if the refusal ever broke, only that node would be
    // replaced.
    const auto fifo = dir.file("pipe.dvb");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, dir.file("to-pipe.dvb"));
    std::vector<std::string> targets{fifo, dir.file("to-pipe.dvb")};
    const auto device = dir.file("null.dvb");
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    if (haveDevice) {
        fs::create_symlink(device, dir.file("to-null.dvb"));
        targets.push_back(device);
        targets.push_back(dir.file("to-null.dvb"));
    }
    for (const auto& target : targets) {
        EXPECT_EQ(writeFileAtomic(target, "x").error(), ErrorCode::CannotWriteFile) << target;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    if (haveDevice) {
        EXPECT_TRUE(fs::is_character_file(device));
        EXPECT_TRUE(fs::is_symlink(dir.file("to-null.dvb")));
    }
    EXPECT_EQ(filesIn(dir.path()), haveDevice ? 4u : 2u);  // no temporary file left behind
    if (!haveDevice) GTEST_SKIP() << "cannot make a device node here (not root)";
}

TEST(WriteFileAtomic, NewFilesGetTheUsualModeAndLongNamesSave) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomic(dir.file("new.dvb"), "x").ok());
    ::umask(mask);
    EXPECT_EQ(fs::status(dir.file("new.dvb")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // A name as long as the folder allows: the temporary name stays short.
    const std::string longName = std::string(251, 'n') + ".dvb";
    ASSERT_TRUE(writeFileAtomic(dir.file(longName), "long").ok());
    EXPECT_EQ(TempDir::read(dir.file(longName)), "long");
    EXPECT_LT(temporaryPrefixFor(dir.file(longName)).size(), 20u);
}

// The id of a process that has ended and been reaped: no process runs under it.
pid_t goneProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(WriteFileAtomic, RemovesOnlyLeftoversWhoseWriterIsGone) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old");
    const std::string prefix = temporaryPrefixFor(path);
    // A killed save's file (its process is gone), one of a save still running (this process)
    // and one so old that no save can still be writing it, whoever its process id names.
    const auto killed = dir.write(prefix + std::to_string(goneProcess()) + "-0.tmp", "half");
    const auto running = dir.write(prefix + std::to_string(::getpid()) + "-7.tmp", "writing");
    const auto stale = dir.write(prefix + std::to_string(::getpid()) + "-8.tmp", "stale");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::minutes(10));
    const auto other = dir.write(temporaryPrefixFor(dir.file("other.dvb")) + "9-0.tmp", "not ours");
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(TempDir::read(path), "new");
}

// Two processes that save to one target at the same moment both succeed, and the target is
// the one or the other whole.
TEST(WriteFileAtomic, ConcurrentSavesToOneTargetBothSucceed) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old");
    const std::string first(200 * 1024, 'a');
    const std::string second(150 * 1024, 'b');
    int failures = 0;
    for (int pair = 0; pair < 50; ++pair) {
        // Both children wait for the gate to close and then save at once.
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            children[i] = ::fork();
            ASSERT_GE(children[i], 0);
            if (children[i] == 0) {
                ::close(gate[1]);
                char c;
                (void)!::read(gate[0], &c, 1);
                ::_exit(writeFileAtomic(path, i == 0 ? first : second).ok() ? 0 : 1);
            }
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
        }
        const std::string saved = TempDir::read(path);
        EXPECT_TRUE(saved == first || saved == second) << "pair " << pair << ": " << saved.size();
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(WriteFileAtomic, RefusesBrokenLinksAndFollowsWorkingOnes) {
    TempDir dir;
    fs::create_symlink(dir.file("missing.dvb"), dir.file("dangling.dvb"));
    fs::create_symlink(dir.file("loop-b.dvb"), dir.file("loop-a.dvb"));
    fs::create_symlink(dir.file("loop-a.dvb"), dir.file("loop-b.dvb"));
    fs::create_symlink("self.dvb", dir.file("self.dvb"));
    const struct {
        std::string link;
        std::string reason;
    } cases[] = {
        {dir.file("dangling.dvb"), "No such file or directory"},
        {dir.file("loop-a.dvb"), "Too many levels of symbolic links"},
        {dir.file("self.dvb"), "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        const Status st = writeFileAtomic(c.link, "x");
        EXPECT_EQ(st.error(), ErrorCode::SaveOntoBrokenLink) << c.link;
        EXPECT_EQ(st.detail(), c.reason) << c.link;
        EXPECT_TRUE(fs::is_symlink(c.link)) << c.link;
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("missing.dvb"))));
    EXPECT_EQ(filesIn(dir.path()), 4u);  // the four links, no temporary file
    // A link that leads on to a working link is followed to the file, both stay links, and the
    // file keeps its permissions.
    const auto file = dir.write("real.dvb", "old");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);
    fs::create_symlink("real.dvb", dir.file("one.dvb"));
    fs::create_symlink("one.dvb", dir.file("two.dvb"));
    ASSERT_TRUE(writeFileAtomic(dir.file("two.dvb"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.file("one.dvb")));
    EXPECT_TRUE(fs::is_symlink(dir.file("two.dvb")));
    EXPECT_EQ(TempDir::read(file), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, mode);
}

// A save keeps the file's owner and group. Root can give a file to anyone; another user can
// give a file only to a group of its own, so that case needs a second group of the user's.
TEST(WriteFileAtomic, KeepsOwnerAndGroup) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old");
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (::geteuid() == 0) {
        owner = 4321;
        group = 8765;
    } else {
        gid_t groups[64];
        const int n = ::getgroups(64, groups);
        for (int i = 0; i < n; ++i) {
            if (groups[i] != ::getegid()) group = groups[i];
        }
        if (group == ::getegid()) GTEST_SKIP() << "the user belongs to no second group";
    }
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(TempDir::read(path), "new");
}

// Runs `body` in a child process and returns its exit code; 77 means the child could not set
// up what the test needs.
template <class Body>
int inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// What a failed save says beside "Cannot write the file": the system's reason, and the
// previous file untouched, with no temporary file left.
int expectFailure(const std::string& path, std::string_view bytes, int errnum) {
    const std::string before = TempDir::read(path);
    const std::size_t files = filesIn(fs::path(path).parent_path());
    const Status st = writeFileAtomic(path, bytes);
    if (st.ok() || st.error() != ErrorCode::CannotWriteFile) return 1;
    if (st.detail() != systemErrorText(errnum)) {
        std::fprintf(stderr, "reason \"%s\"\n", st.detail().c_str());
        return 2;
    }
    if (TempDir::read(path) != before) return 3;
    if (filesIn(fs::path(path).parent_path()) != files) return 4;
    return 0;
}

TEST(WriteFileAtomic, AReadOnlyFolderSaysPermissionDenied) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    fs::create_directory(dir.file("folder"));
    const auto path = dir.write("folder/list.dvb", "old");
    ASSERT_EQ(::chmod(dir.file("folder").c_str(), 0555), 0);
    const int result = inChild([&] {
        // Root writes anywhere: the save runs as a user without rights to the folder.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 77;
        return expectFailure(path, "new", EACCES);
    });
    if (result == 77) GTEST_SKIP() << "cannot run as another user";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(TempDir::read(path), "old");
}

// A small file system of its own, in a mount namespace of its own (a user namespace too when
// not root), so that a full disk and a read-only disk are real.
bool mountSmallTmpfs(const std::string& where, bool readOnly) {
    if (::geteuid() != 0) {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        auto put = [](const char* file, const std::string& text) {
            std::ofstream out(file);
            out << text;
            return static_cast<bool>(out.flush());
        };
        put("/proc/self/setgroups", "deny");
        if (!put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return false;
        }
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    if (::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") != 0) return false;
    const std::string path = where + "/list.dvb";
    if (!writeFileAtomic(path, "old").ok()) return false;
    return !readOnly ||
           ::mount(nullptr, where.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

TEST(WriteFileAtomic, AFullDiskAndAReadOnlyDiskSayWhy) {
    TempDir dir;
    fs::create_directory(dir.file("disk"));
    const std::string disk = dir.file("disk");
    const struct {
        const char* name;
        bool readOnly;
        std::size_t size;
        int errnum;
    } cases[] = {
        {"full", false, 256 * 1024, ENOSPC},
        {"read-only", true, 10, EROFS},
    };
    for (const auto& c : cases) {
        const int result = inChild([&] {
            if (!mountSmallTmpfs(disk, c.readOnly)) return 77;
            return expectFailure(disk + "/list.dvb", std::string(c.size, 'x'), c.errnum);
        });
        if (result == 77) GTEST_SKIP() << "cannot mount a file system of the test's own";
        EXPECT_EQ(result, 0) << c.name;
    }
}

}  // namespace
}  // namespace qel
