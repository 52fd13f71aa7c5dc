// qel-tool as a user runs it: output, exit status and what is left on disk.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "model/g98_file.h"
#include "serial/checksum.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::TempDir;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun Tool(const std::string& args, const TempDir& dir) {
    const std::string errFile = dir.File("stderr.txt");
    const std::string cmd = std::string(QEL_TOOL_PATH) + " " + args + " 2>" + errFile;
    ToolRun run;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return run;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        run.out.append(buf, n);
    const int rc = ::pclose(p);
    run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    run.err = TempDir::Read(errFile);
    return run;
}

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

TEST(QelTool, DumpDvbWritesEveryFieldAtFullWidth) {
    TempDir dir;
    const auto path = dir.Write("a.dvb", DvbRecord().Name("A\"\\\xE8").FreqMHz(11766).bytes() +
                                             DvbRecord().Type(2).Name("R").bytes());
    const ToolRun run = Tool("dump " + Quote(path), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(R"({"file_type":"DVB","tv":[{"MatchKey":)", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(R"("ChName":"A\"\\)"
                           "\xC3\xA8"
                           R"(                ")"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("Freq":"01176600")"), std::string::npos);
    EXPECT_NE(run.out.find(R"(],"radio":[{"MatchKey":)"), std::string::npos);
    EXPECT_NE(run.out.find(R"("ServType":"02","Parental":"0","AutoPid":"0","AutoPmt":"0"}]})"),
              std::string::npos);
}

TEST(QelTool, DumpG98ReportsLoadedAndTheImage) {
    TempDir dir;
    std::string block = "DVSO" + std::string(1260, '\x01');
    const auto path = dir.Write("s.g98", block + static_cast<char>(CheckSum(block)));
    const ToolRun run = Tool("dump " + Quote(path), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string head = R"({"file_type":"G98","loaded":true,"image":")";
    EXPECT_EQ(run.out.rfind(head + "4456534F0101", 0), 0u) << run.out;
    EXPECT_EQ(run.out.size(), head.size() + 2530 + 3);
    EXPECT_EQ(run.out.substr(run.out.size() - 3), "\"}\n");

    const auto blank = dir.Write("b.g98", std::string(1265, ' '));
    EXPECT_NE(Tool("dump " + Quote(blank), dir).out.find(R"("loaded":false)"), std::string::npos);
}

TEST(QelTool, RefusalsAndUsage) {
    TempDir dir;
    const auto bad = dir.Write("bad.dvb", "abc");
    ToolRun run = Tool("dump " + Quote(bad), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Wrong file lenght\n");
    EXPECT_TRUE(run.out.empty());

    run = Tool("convert " + Quote(bad) + " " + Quote(dir.File("out.dvb")), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.dvb")));

    const auto unloaded = dir.Write("u.g98", std::string(1265, '\0'));
    run = Tool("convert " + Quote(unloaded) + " " + Quote(dir.File("out.g98")), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "No DVB98 settings loaded\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.g98")));

    EXPECT_EQ(Tool("", dir).status, 1);
    EXPECT_EQ(Tool("dump", dir).status, 1);
    EXPECT_EQ(Tool("frobnicate x", dir).status, 1);
    EXPECT_EQ(Tool("dump " + Quote(dir.Write("x.txt", "")), dir).status, 1);
}

TEST(QelTool, ConvertRewritesThroughTheProgramsWriters) {
    TempDir dir;
    std::string records;
    for (unsigned i = 0; i < 5; ++i)
        records +=
            DvbRecord().FreqMHz(11000 + i).FecCode(i < 4 ? i + 1 : 6).Name("C" + std::to_string(i));
    const auto in = dir.Write("in.dvb", records);
    ASSERT_EQ(Tool("convert " + Quote(in) + " " + Quote(dir.File("out.dvb")), dir).status, 0);
    EXPECT_EQ(TempDir::Read(dir.File("out.dvb")), records);

    std::string tooMany;
    for (int i = 0; i < 3072; ++i)
        tooMany += DvbRecord().Name("X").bytes();
    const auto big = dir.Write("big.dvb", tooMany);
    const ToolRun run = Tool("convert " + Quote(big) + " " + Quote(dir.File("big2.dvb")), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Too many channels for DVB 98 : no Upload/Save \n");

    std::string block = "DVSO" + std::string(1260, 'q');
    const auto g98 = dir.Write("in.g98", block + "?");  // wrong checksum is rewritten
    ASSERT_EQ(Tool("convert " + Quote(g98) + " " + Quote(dir.File("out.g98")), dir).status, 0);
    EXPECT_EQ(TempDir::Read(dir.File("out.g98")), block + static_cast<char>(CheckSum(block)));
}

TEST(QelTool, UpgradeListsTheBufferRecords) {
    TempDir dir;
    const std::string a = DvbRecord().FreqMHz(11000).Name("A");
    const auto loaded = dir.Write("l.dvb", a);
    const auto other = dir.Write("o.dvb", a + DvbRecord().FreqMHz(12000).Name("NEW").bytes());
    const ToolRun run = Tool("upgrade " + Quote(loaded) + " " + Quote(other), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 11), R"({"buffer":[)");
    EXPECT_NE(run.out.find(R"("ChName":"TV CHANNEL (UPG)    ")"), std::string::npos);
    EXPECT_NE(run.out.find(R"("ChName":"NEW                 ")"), std::string::npos);
    EXPECT_NE(run.out.find(R"("ChName":"RADIO CHANNELS (UPG))"), std::string::npos);
    EXPECT_EQ(run.out.find(R"("ChName":"A   )"), std::string::npos);
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

TEST(QelTool, SampleFilesReadBack) {
    TempDir dir;
    ASSERT_EQ(Tool("sample " + Quote(dir.File("s.dvb")), dir).status, 0);
    ASSERT_EQ(Tool("sample " + Quote(dir.File("s.g98")), dir).status, 0);
    const ToolRun list = Tool("dump " + Quote(dir.File("s.dvb")), dir);
    EXPECT_NE(list.out.find(R"("ChName":"--- HOTBIRD 13E --- ")"), std::string::npos);
    const ToolRun settings = Tool("dump " + Quote(dir.File("s.g98")), dir);
    EXPECT_NE(settings.out.find(R"("loaded":true)"), std::string::npos);
    // 9750 MHz at byte 24: the LNB's low band oscillator.
    EXPECT_EQ(settings.out.substr(settings.out.find("\"image\":\"") + 9 + 48, 8), "00002616");
    EXPECT_EQ(Tool("sample " + Quote(dir.File("s.txt")), dir).status, 1);
}

TEST(QelTool, DumpBinShowsListsAndImageTables) {
    TempDir dir;
    std::string names;
    for (int i = 0; i < 8; ++i)
        names += "ANT" + std::to_string(i) + std::string(4, '\0');
    const auto path =
        dir.Write("img.bin", test::FtaImage()
                                 .Add(0x87AA, test::ChannelEntry("TV1", 1, 2, 3, 0))
                                 .Add(0x9001, test::TunedTransponder(1, 2, 0x10, 8, "01176600",
                                                                     "013", 1, 0, "275000", 3))
                                 .Add(0x9000, test::W(1))
                                 .Add(0xE505, names)
                                 .Add(0x8702, test::Bytes("00050001"))
                                 .Add(0x9999, std::string("QEL\0", 4))
                                 .Build());
    const ToolRun run = Tool("dump " + Quote(path), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(R"({"file_type":"BIN","tv":[{"MatchKey":")", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(R"("ChName":"TV1                 ","Freq":"01176600")"),
              std::string::npos);
    EXPECT_NE(run.out.find(R"(,"radio":[],"image":{"tagged":true,"tv_count":1,"radio_count":0,)"
                           R"("antennas":["00000000000000000000ANT0\u0000\u0000\u0000\u0000",)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("settings_record":"","screen_format":"    ","transponders":[)"
                           R"("9001001800010001000200100008011766000013010000275000010)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"(,"900000020001"],"pids":[],"others":[]}})"), std::string::npos);
}

TEST(QelTool, ConvertBetweenListsAndImages) {
    TempDir dir;
    const auto dvb = dir.Write("in.dvb", DvbRecord().Name("A").FreqMHz(11766).bytes() +
                                             DvbRecord().Type(2).Name("R").FreqMHz(12000).bytes());
    ASSERT_EQ(Tool("convert " + Quote(dvb) + " " + Quote(dir.File("a.bin")), dir).status, 0);
    EXPECT_EQ(std::filesystem::file_size(dir.File("a.bin")), 49152u);
    // Re-saving an image keeps its settings records (in the writer's own order) and its
    // channels; from then on the bytes are stable.
    for (auto [from, to] : {std::pair{"a.bin", "b.bin"}, {"b.bin", "b2.bin"}}) {
        ASSERT_EQ(Tool("convert " + Quote(dir.File(from)) + " " + Quote(dir.File(to)), dir).status,
                  0);
    }
    EXPECT_TRUE(TempDir::Read(dir.File("b2.bin")) == TempDir::Read(dir.File("b.bin")));
    const std::string dumpA = Tool("dump " + Quote(dir.File("a.bin")), dir).out;
    const std::string dumpB = Tool("dump " + Quote(dir.File("b.bin")), dir).out;
    EXPECT_EQ(dumpB.substr(0, dumpB.find("\"image\"")), dumpA.substr(0, dumpA.find("\"image\"")));
    ASSERT_EQ(
        Tool("convert " + Quote(dir.File("b.bin")) + " " + Quote(dir.File("c.dvb")), dir).status,
        0);
    EXPECT_EQ(std::filesystem::file_size(dir.File("c.dvb")), 2u * 64);

    const auto bad = dir.Write("bad.bin", std::string(49151, '\xFF'));
    const ToolRun run = Tool("convert " + Quote(bad) + " " + Quote(dir.File("d.dvb")), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Wrong file lenght\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("d.dvb")));
}

}  // namespace
}  // namespace qel
