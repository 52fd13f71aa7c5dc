// qel-tool diff: the comparison of two channel files, its JSON, report and exit status.
#include <gtest/gtest.h>

#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::runTool;
using test::TempDir;

DvbRecord tv(const char* name, unsigned sid) {
    return DvbRecord().name(name).freqMHz(11766).srateKs(27500).NetId(1).TsId(2).SerId(sid);
}

TEST(DiffTool, JsonNamesEachKindWithRowsFromOne) {
    TempDir dir;
    dir.write("a.dvb", tv("ONE", 1).bytes() + tv("TWO", 2).bytes() + tv("THREE", 3).bytes() +
                           tv("GONE", 4).bytes() + DvbRecord().type(2).name("R1").SerId(9).bytes());
    dir.write("b.dvb", tv("THREE", 3).bytes() + tv("ONE", 1).bytes() +
                           tv("TWO", 2).APid(0x1FF).bytes() + tv("NEW", 5).bytes() +
                           DvbRecord().type(2).name("R1").SerId(9).bytes());
    const test::ToolRun run = runTool("diff a.dvb b.dvb --json", dir);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, R"({"only_in_first":[{"list":"TV","row":4,"name":"GONE"}],)"
                       R"("only_in_second":[{"list":"TV","row":4,"name":"NEW"}],)"
                       R"("changed":[{"list":"TV","first_row":2,"second_row":3,"name":"TWO",)"
                       R"("fields":{"APid":["0000","01FF"]}}],)"
                       R"("moved":[{"list":"TV","first_row":3,"second_row":1,"name":"THREE"}]})"
                       "\n");

    // The report says the same in lines.
    const test::ToolRun report = runTool("diff a.dvb b.dvb", dir);
    EXPECT_EQ(report.status, 3);
    for (const char* line : {"Only in a.dvb: 1\n  TV 4  GONE\n", "Only in b.dvb: 1\n  TV 4  NEW\n",
                             "Changed: 1\n  TV 2 / 3  TWO\n      APid: \"0000\" -> \"01FF\"\n",
                             "Moved: 1\n  TV 3 -> 1  THREE\n"}) {
        EXPECT_NE(report.out.find(line), std::string::npos) << line << "\nin\n" << report.out;
    }
}

// --take-over writes A with B's values for every changed channel, in A's format; what only
// one side has and the order stay A's.
TEST(DiffTool, TakeOverWritesAWithTheChangesOfB) {
    TempDir dir;
    dir.write("a.dvb", tv("ONE", 1).bytes() + tv("TWO", 2).bytes() + tv("GONE", 4).bytes());
    dir.write("b.dvb", tv("TWO", 2).APid(0x1FF).bytes() + tv("ONE", 1).VPid(0x100).bytes() +
                           tv("NEW", 5).bytes());
    const test::ToolRun run = runTool("diff a.dvb b.dvb --take-over out.dvb", dir);
    EXPECT_EQ(run.status, 3) << run.err;
    const test::ToolRun after = runTool("diff out.dvb b.dvb --json", dir);
    EXPECT_EQ(after.status, 3);
    EXPECT_EQ(after.out, R"({"only_in_first":[{"list":"TV","row":3,"name":"GONE"}],)"
                         R"("only_in_second":[{"list":"TV","row":3,"name":"NEW"}],)"
                         R"("changed":[],)"
                         R"("moved":[{"list":"TV","first_row":1,"second_row":2,"name":"ONE"}]})"
                         "\n");
    // A itself is left as it was.
    EXPECT_EQ(TempDir::read(dir.file("a.dvb")),
              tv("ONE", 1).bytes() + tv("TWO", 2).bytes() + tv("GONE", 4).bytes());
}

TEST(DiffTool, AListAgainstItsOwnImageAndCsvIsEqualButAnEditShows) {
    TempDir dir;
    // Values an image does not hold (PMT PID, flags, parental) and a band the image's writer
    // sets from the frequency.
    dir.write("a.dvb", tv("ONE", 1).PmtPid(0x64).AvFlags(0xC0).Parental(true).bytes() +
                           tv("TWO", 2).VPid(0xA0).APid(0x50).TuneFlags(0x0008).bytes() +
                           DvbRecord().type(2).name("R1").freqMHz(12188).NetId(3).SerId(9).bytes());
    ASSERT_EQ(runTool("convert a.dvb a.bin", dir).status, 0);
    ASSERT_EQ(runTool("convert a.dvb a.csv", dir).status, 0);
    const test::ToolRun same = runTool("diff a.dvb a.bin --json", dir);
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out, R"({"only_in_first":[],"only_in_second":[],"changed":[],"moved":[]})"
                        "\n");
    EXPECT_EQ(runTool("diff a.csv a.dvb", dir).status, 0);
    EXPECT_EQ(runTool("diff a.bin a.dvb", dir).status, 0);

    dir.write("b.dvb", tv("ONE", 1).bytes() + tv("TWO", 2).VPid(0xA0).APid(0x51).bytes() +
                           DvbRecord().type(2).name("R1").freqMHz(12188).NetId(3).SerId(9).bytes());
    const test::ToolRun edited = runTool("diff b.dvb a.bin --json", dir);
    EXPECT_EQ(edited.status, 3) << edited.err;
    EXPECT_EQ(edited.out, R"({"only_in_first":[],"only_in_second":[],)"
                          R"("changed":[{"list":"TV","first_row":2,"second_row":2,"name":"TWO",)"
                          R"("fields":{"APid":["0051","0050"]}}],"moved":[]})"
                          "\n");
}

}  // namespace
}  // namespace qel
