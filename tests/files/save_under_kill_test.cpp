// A save killed at any moment leaves the previous file or the new one whole, and at most one
// temporary file, which the next save removes. A child process saves two 3071-channel lists
// in turn; the test kills it at random moments.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/file_io.h"
#include "files/saved_lists.h"
#include "support/temp_dir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::TempDir;

std::size_t temporaryFiles(const fs::path& dir, const std::string& prefix) {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(SaveUnderKill, TheTargetIsAlwaysTheOldOrTheNewFileWhole) {
    TempDir dir;
    const std::string lists[2] = {test::savedList(0), test::savedList(1)};
    ASSERT_NE(lists[0], lists[1]);
    const std::string target = dir.write("list.dvb", lists[0]);
    const std::string prefix = temporaryPrefixFor(target);

    char* argv[] = {const_cast<char*>(QEL_SAVE_LOOP), const_cast<char*>(target.c_str()), nullptr};
    // How long a child takes here to start and finish its first save: the kills are spread
    // over one and a half times that.
    long spread = 0;
    for (int run = 0; run < 3; ++run) {
        const ino_t before = inodeOf(target);
        pid_t child = 0;
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(::posix_spawn(&child, QEL_SAVE_LOOP, nullptr, nullptr, argv, environ), 0);
        while (inodeOf(target) == before &&
               std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const auto took = std::chrono::steady_clock::now() - started;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_NE(inodeOf(target), before) << "the child saved nothing";
        spread = std::max<long>(
            spread, 3 * std::chrono::duration_cast<std::chrono::microseconds>(took).count() / 2);
    }
    ASSERT_TRUE(writeFileAtomic(target, lists[0]).ok());

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delay(0, spread);
    int kills = 0;
    int leftovers = 0;
    int seen[2] = {0, 0};
    int replaced = 0;
    const auto begin = std::chrono::steady_clock::now();
    while (kills < 120 || std::chrono::steady_clock::now() - begin < std::chrono::seconds(2)) {
        const ino_t before = inodeOf(target);
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, QEL_SAVE_LOOP, nullptr, nullptr, argv, environ), 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        // The child saves until it is killed: an exit is a save that failed.
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child's save failed, exit " << WEXITSTATUS(status);
        ++kills;
        const std::string saved = TempDir::read(target);
        const bool whole = saved == lists[0] || saved == lists[1];
        ASSERT_TRUE(whole) << "kill " << kills << ": " << saved.size() << " bytes";
        ++seen[saved == lists[0] ? 0 : 1];
        replaced += inodeOf(target) != before ? 1 : 0;
        const std::size_t temporaries = temporaryFiles(dir.path(), prefix);
        ASSERT_LE(temporaries, 1u) << "kill " << kills;
        leftovers += static_cast<int>(temporaries);
        if (kills >= 1000) break;
    }
    std::printf("%d kills over %ld us each, %d after a save, %d in one; first list %d, second %d\n",
                kills, spread, replaced, leftovers, seen[0], seen[1]);
    EXPECT_GE(kills, 100);
    // The kills fell after saves and in the middle of them, not only before the first.
    EXPECT_GT(replaced, 0);
    EXPECT_GT(leftovers, 0);
    // The next save removes what the last killed one left.
    ASSERT_TRUE(writeFileAtomic(target, lists[1]).ok());
    EXPECT_EQ(temporaryFiles(dir.path(), prefix), 0u);
    EXPECT_EQ(TempDir::read(target), lists[1]);
}

}  // namespace
}  // namespace qel
