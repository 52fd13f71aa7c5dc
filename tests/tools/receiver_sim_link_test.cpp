// qel-receiver-sim --link: it makes a new link or replaces a symbolic link, and leaves
// anything else at that path alone.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

namespace fs = std::filesystem;
using test::ReceiverSim;
using test::TempDir;

// What is at the path before: nothing, a link to a file, a dangling link.
TEST(ReceiverSimLink, ReplacesOnlyASymbolicLink) {
    TempDir dir;
    const std::string other = dir.write("other.txt", "keep me");
    for (const std::string& target : {std::string(), other, dir.file("gone")}) {
        SCOPED_TRACE(target);
        const std::string link = dir.file("vandu");
        if (!target.empty()) fs::create_symlink(target, link);
        {
            ReceiverSim sim({"--link", link});
            ASSERT_FALSE(sim.device().empty());
            EXPECT_EQ(fs::read_symlink(link).string(), sim.device());
            EXPECT_EQ(sim.stop(), 0);
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
    EXPECT_EQ(TempDir::read(other), "keep me");
}

TEST(ReceiverSimLink, RefusesAnythingElseAndLeavesItAlone) {
    TempDir dir;
    const std::string file = dir.write("file", "a user's file");
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    dir.write("folder/inside", "x");
    for (const std::string& path : {file, folder}) {
        SCOPED_TRACE(path);
        const std::string err = dir.file("err.txt");
        // A simulator that took the path would serve until the timeout ends it.
        const std::string cmd = std::string("timeout 10 ") + QEL_RECEIVER_SIM_PATH + " --link '" +
                                path + "' >/dev/null 2>'" + err + "'";
        const int rc = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(rc));
        EXPECT_EQ(WEXITSTATUS(rc), 2);
        EXPECT_EQ(TempDir::read(err), "qel-receiver-sim: " + path +
                                          ": exists and is not a symbolic link; it is left "
                                          "as it is\n");
        EXPECT_FALSE(fs::is_symlink(path));
    }
    EXPECT_EQ(TempDir::read(file), "a user's file");
    EXPECT_EQ(TempDir::read(dir.file("folder/inside")), "x");
}

}  // namespace
}  // namespace qel
