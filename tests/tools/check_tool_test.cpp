// qel-tool check: exit status, the JSON a script reads, and the texts in both languages.
#include <gtest/gtest.h>

#include "files/fta_writer.h"
#include "support/channel_builder.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::runTool;
using test::TempDir;

DvbRecord goodRecord(const char* name, unsigned sid) {
    return test::tunedRecord(name, sid).PPid(0x200);
}

std::string headerRecord() {
    return DvbRecord().name("HOTBIRD").freqMHz(0);
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

TEST(CheckTool, ExitStatusByWorstFinding) {
    TempDir dir;
    const std::string clean = headerRecord() + goodRecord("RAI 1", 1).bytes();
    const std::string duplicate = clean + goodRecord("RAI 1 again", 1).bytes();
    const std::string pid = clean + goodRecord("BAD", 2).VPid(0x2000).bytes();
    const std::string fec = clean + goodRecord("FEC", 3).fecCode(8).bytes();
    struct Case {
        const char* file;
        std::string bytes;
        int status;
    };
    const Case cases[] = {
        {"clean.dvb", clean, 0},
        {"duplicate.dvb", duplicate, 3},
        {"pid.dvb", pid, 2},
        {"fec.dvb", fec, 2},
        {"both.dvb", duplicate + goodRecord("BAD", 2).VPid(0x2000).bytes(), 2},
        // An image is checked as an image: nothing of a DVB98 list's is asked of it.
        {"image.bin",
         *encodeFtaImage({test::Channel("RAI 1")
                              .Freq("01176600")
                              .Srate("275000")
                              .Fec("3")
                              .NetId("0001")
                              .TsId("0001")
                              .SerId("0001")
                              .VPid("0200")},
                         {}, FtaImageTables{}, ImageSettings::Defaults),
         0},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(c.file, c.bytes);
        const auto run = runTool("check " + quoted(path), dir);
        EXPECT_EQ(run.status, c.status) << c.file << ": " << run.out << run.err;
        EXPECT_EQ(run.out.empty(), c.status == 0) << c.file;
        EXPECT_EQ(runTool("check --json " + quoted(path), dir).status, c.status) << c.file;
    }
}

TEST(CheckTool, JsonKeysAndLanguages) {
    TempDir dir;
    const std::string path =
        dir.write("list.dvb", headerRecord() + goodRecord("RAI 1", 1).bytes() +
                                  goodRecord("RAI 1 again", 1).bytes() +
                                  goodRecord("BAD", 2).VPid(0x2000).bytes() +
                                  DvbRecord().type(2).name("R").freqMHz(0).bytes());
    auto run = runTool("check " + quoted(path) + " --json", dir);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.out, R"([{"level":"warning","list":"TV","row":3,"field":"","kind":"duplicate",)"
                       R"("message":"Same service and PIDs as row 2"},)"
                       R"({"level":"error","list":"TV","row":4,"field":"VPid","kind":"range",)"
                       R"("message":"PID 2000 is above 1FFF"},)"
                       R"({"level":"warning","list":"RADIO","row":1,"field":"","kind":"structure",)"
                       R"("message":"Satellite header without channels"}])"
                       "\n");
    // The keys stay English in Italian, the messages and the text's levels do not.
    run = runTool("check --lang it --json " + quoted(path), dir);
    EXPECT_NE(run.out.find(R"("level":"error","list":"TV","row":4,"field":"VPid","kind":"range",)"
                           R"("message":"Il PID 2000 supera 1FFF")"),
              std::string::npos)
        << run.out;
    run = runTool("check --lang it " + quoted(path), dir);
    EXPECT_NE(run.out.find("errore  TV 4 \"BAD\" VPid: Il PID 2000 supera 1FFF\n"),
              std::string::npos)
        << run.out;
}

// The duplicates go, the first of each group stays, OUT is written in the file's format and
// what is left is reported.
TEST(CheckTool, RemoveDuplicatesWritesTheListWithoutThem) {
    TempDir dir;
    const std::string first = headerRecord() + goodRecord("RAI 1", 1).bytes();
    const std::string rest = goodRecord("BAD", 2).VPid(0x2000).bytes();
    const std::string in = dir.write("in.dvb", first + goodRecord("RAI 1 again", 1).bytes() + rest +
                                                   goodRecord("RAI 1 once more", 1).bytes());
    const std::string expected = dir.write("expected.dvb", first + rest);
    ASSERT_EQ(
        runTool("convert " + quoted(expected) + " " + quoted(dir.file("want.dvb")), dir).status, 0);

    const auto run = runTool(
        "check " + quoted(in) + " --remove-duplicates " + quoted(dir.file("out.dvb")) + " --json",
        dir);
    EXPECT_EQ(run.status, 2) << run.err;  // the PID above 1FFF is still there
    EXPECT_EQ(run.out.find("duplicate"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("row":3)"), std::string::npos) << run.out;
    EXPECT_EQ(TempDir::read(dir.file("out.dvb")), TempDir::read(dir.file("want.dvb")));
    // The file checked is left as it was.
    EXPECT_EQ(runTool("check " + quoted(in), dir).status, 2);
}

}  // namespace
}  // namespace qel
