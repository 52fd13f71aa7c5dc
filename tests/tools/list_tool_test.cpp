// qel-tool check, diff, sort and reorder: each command's options reaching the core routine, its
// output (JSON, report, the file it writes) and its exit status. What each routine finds, and
// the order a sort or a reorder makes, are the core's tests' (tests/listcheck, tests/listedit).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bytes/conversions.h"
#include "files/file_formats.h"
#include "files/fta_writer.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::runTool;
using test::TempDir;

DvbRecord goodRecord(const char* name, unsigned sid) {
    return test::tunedRecord(name, sid).PPid(0x200);
}

const std::string kHeader = DvbRecord().name("HOTBIRD").freqMHz(0);

// The exit status says the worst finding: 0 none, 3 a warning, 2 an error; the text is written
// when there is a finding. An image is checked as an image: nothing of a DVB98 list's is asked.
// The JSON's keys stay English in Italian, the messages and the text's levels do not.
TEST(CheckTool, ExitStatusJsonAndLanguages) {
    TempDir dir;
    const std::string clean = kHeader + goodRecord("RAI 1", 1).bytes();
    const std::string duplicate = clean + goodRecord("RAI 1 again", 1).bytes();
    const struct {
        const char* file;
        std::string bytes;
        int status;
    } cases[] = {
        {"clean.dvb", clean, 0},
        {"duplicate.dvb", duplicate, 3},
        {"list.dvb",
         duplicate + goodRecord("BAD", 2).VPid(0x2000).bytes() +
             DvbRecord().type(2).name("R").freqMHz(0).bytes(),
         2},
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
    for (const auto& c : cases) {
        dir.write(c.file, c.bytes);
        const auto run = runTool(std::string("check ") + c.file, dir);
        EXPECT_EQ(run.status, c.status) << c.file << ": " << run.out << run.err;
        EXPECT_EQ(run.out.empty(), c.status == 0) << c.file;
        EXPECT_EQ(runTool(std::string("check --json ") + c.file, dir).status, c.status) << c.file;
    }
    auto run = runTool("check list.dvb --json", dir);
    EXPECT_EQ(run.out, R"([{"level":"warning","list":"TV","row":3,"field":"","kind":"duplicate",)"
                       R"("message":"Same service and PIDs as row 2"},)"
                       R"({"level":"error","list":"TV","row":4,"field":"VPid","kind":"range",)"
                       R"("message":"PID 2000 is above 1FFF"},)"
                       R"({"level":"warning","list":"RADIO","row":1,"field":"","kind":"structure",)"
                       R"("message":"Satellite header without channels"}])"
                       "\n");
    run = runTool("check --lang it --json list.dvb", dir);
    EXPECT_NE(run.out.find(R"("level":"error","list":"TV","row":4,"field":"VPid","kind":"range",)"
                           R"("message":"Il PID 2000 supera 1FFF")"),
              std::string::npos)
        << run.out;
    run = runTool("check --lang it list.dvb", dir);
    EXPECT_NE(run.out.find("errore  TV 4 \"BAD\" VPid: Il PID 2000 supera 1FFF\n"),
              std::string::npos)
        << run.out;
}

// OUT is the list without its duplicates in the file's format, what is left is reported, and
// the file checked is left as it was.
TEST(CheckTool, RemoveDuplicatesWritesTheListWithoutThem) {
    TempDir dir;
    const std::string first = kHeader + goodRecord("RAI 1", 1).bytes();
    const std::string rest = goodRecord("BAD", 2).VPid(0x2000).bytes();
    const std::string in = first + goodRecord("RAI 1 again", 1).bytes() + rest;
    dir.write("in.dvb", in);
    dir.write("expected.dvb", first + rest);
    ASSERT_EQ(runTool("convert expected.dvb want.dvb", dir).status, 0);
    const auto run = runTool("check in.dvb --remove-duplicates out.dvb --json", dir);
    EXPECT_EQ(run.status, 2) << run.err;  // the PID above 1FFF is still there
    EXPECT_EQ(run.out.find("duplicate"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("row":3)"), std::string::npos) << run.out;
    EXPECT_EQ(TempDir::read(dir.file("out.dvb")), TempDir::read(dir.file("want.dvb")));
    EXPECT_EQ(TempDir::read(dir.file("in.dvb")), in);
}

// --satellites with --sat: the channels under the assigned header are looked up among that
// satellite's transponders; a header without --sat is not; warnings only give 3.
TEST(CheckTool, SatellitesCheckTheAssignedGroupsChannels) {
    TempDir dir;
    dir.write("list.dvb", kHeader + goodRecord("RAI 1", 1).bytes() +
                              DvbRecord().name("ASTRA").freqMHz(0).bytes() +
                              goodRecord("ZDF", 2).bytes());
    dir.write("s.xml",
              "<?xml version=\"1.0\"?>\n<satellites>\n<sat name=\"13.0E Hot Bird\" "
              "position=\"130\">\n<transponder frequency=\"11766000\" symbol_rate=\"27500000\" "
              "polarization=\"1\" fec_inner=\"3\"/>\n</sat>\n</satellites>\n");
    auto run = runTool("check list.dvb --satellites s.xml --sat HOTBIRD=13.0E --json", dir);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out,
              R"([{"level":"warning","list":"TV","row":2,"field":"Pol","kind":"transponder",)"
              R"("message":"No transponder of 13.0E Hot Bird at 11766 MHz H (the receiver )"
              R"(tunes L as H and R as V); nearest: 11766 MHz V 27500 ksym/s"}])"
              "\n");
    run = runTool("check list.dvb --satellites=s.xml --sat=ASTRA=130 --lang it", dir);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out.find("RAI 1"), std::string::npos) << "HOTBIRD is not assigned";
    EXPECT_NE(run.out.find("avviso  TV 4 \"ZDF\" Pol: Nessun transponder di 13.0E"),
              std::string::npos)
        << run.out;
    // The satellite's polarization as the list has it: nothing to warn about.
    dir.write("v.xml",
              "<satellites><sat position=\"130\"><transponder frequency=\"11767000\" "
              "symbol_rate=\"27500000\" polarization=\"2\"/></sat></satellites>");
    run = runTool("check list.dvb --satellites v.xml --sat HOTBIRD=13E --sat ASTRA=13E", dir);
    EXPECT_EQ(run.status, 0) << run.out << run.err;

    // A group the list does not have would check nothing: refused, naming the list's groups.
    // A header's name with a letter beyond ASCII is typed in UTF-8.
    dir.write("t.dvb",
              DvbRecord().name("T\xDCRKSAT").freqMHz(0).bytes() + goodRecord("TRT", 1).bytes());
    for (const std::string sat : {"port:1", "T\xC3\x9CRK", "HOTBIRD"}) {
        run = runTool("check t.dvb --satellites s.xml --sat '" + sat + "=130'", dir);
        EXPECT_EQ(run.status, 2) << sat;
        EXPECT_EQ(run.err, "qel-tool: t.dvb: no satellite group \"" + sat +
                               "\"; its groups: \"T\xC3\x9CRKSAT\"\n");
    }
    run = runTool("check t.dvb --satellites s.xml --sat 'T\xC3\x9CRKSAT=130'", dir);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.out.find("\"TRT\" Pol: No transponder of 13.0E Hot Bird"), std::string::npos)
        << run.out;
}

// fill-transponders: the antenna's channel takes its transponder's values, the satellite's
// other transponder gets a placeholder in OUT; what the image cannot hold is refused with the
// count and writes nothing.
TEST(FillTranspondersTool, FillsOneAntennaOrRefusesWithTheCount) {
    TempDir dir;
    dir.write("in.bin", *encodeFtaImage({test::Channel("RAI 1")
                                             .Freq("01149400")
                                             .Srate("220000")
                                             .Fec("3")
                                             .Ant("0010")
                                             .NetId("0001")
                                             .TsId("0001")
                                             .SerId("0001")
                                             .VPid("0200")},
                                        {}, FtaImageTables{}, ImageSettings::Defaults));
    const std::string tp = R"(<transponder symbol_rate="22000000" fec_inner="4" frequency=")";
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += tp + std::to_string(10700000 + i * 4000) + R"(" polarization="1"/>)";
    dir.write("s.xml", "<satellites><sat position=\"192\">" + tp +
                           R"(11495000" polarization="0"/>)" + tp +
                           R"(12000000" polarization="3"/></sat><sat position="130">)" + many +
                           "</sat></satellites>");
    auto run = runTool("fill-transponders in.bin s.xml out.bin --position 19.2E --antenna 1", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1 placeholders added, 0 removed, 1 channels refreshed, 0 channels on no "
              "transponder of 19.2E\n");
    const auto out = readChannels(dir.file("out.bin"));
    ASSERT_TRUE(out.ok());
    ASSERT_EQ(out->lists.tv.size(), 1u);
    EXPECT_EQ(out->lists.tv[0].Freq, "01149500");
    EXPECT_EQ(out->lists.tv[0].Fec, "4");
    ASSERT_EQ(out->lists.radio.size(), 1u);
    EXPECT_EQ(trimBlanks(out->lists.radio[0].ChName.view()), "TP 12000 V 22000");
    EXPECT_EQ(out->lists.radio[0].Ant, "0010");

    run =
        runTool("fill-transponders in.bin s.xml big.bin --position=130 --antenna=1 --into tv", dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "qel-tool: 255 of the 300 transponders fit the image\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.bin")));
}

DvbRecord tv(const char* name, unsigned sid) {
    return DvbRecord().name(name).freqMHz(11766).srateKs(27500).NetId(1).TsId(2).SerId(sid);
}

// Each kind of difference once, in the JSON and in the report's lines; 3 when the lists differ.
TEST(DiffTool, JsonAndReportNameEachKindWithRowsFromOne) {
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
    const test::ToolRun report = runTool("diff a.dvb b.dvb", dir);
    EXPECT_EQ(report.status, 3);
    for (const char* line : {"Only in a.dvb: 1\n  TV 4  GONE\n", "Only in b.dvb: 1\n  TV 4  NEW\n",
                             "Changed: 1\n  TV 2 / 3  TWO\n      APid: \"0000\" -> \"01FF\"\n",
                             "Moved: 1\n  TV 3 -> 1  THREE\n"}) {
        EXPECT_NE(report.out.find(line), std::string::npos) << line << "\nin\n" << report.out;
    }
    // Files of two formats, equal: 0 and nothing of a difference.
    ASSERT_EQ(runTool("convert a.dvb a.bin", dir).status, 0);
    const test::ToolRun same = runTool("diff a.dvb a.bin --json", dir);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, R"({"only_in_first":[],"only_in_second":[],"changed":[],"moved":[]})"
                        "\n");
}

// --take-over writes A with B's values for every changed channel, in A's format; A stays.
TEST(DiffTool, TakeOverWritesAWithTheChangesOfB) {
    TempDir dir;
    const std::string a = tv("ONE", 1).bytes() + tv("TWO", 2).bytes() + tv("GONE", 4).bytes();
    dir.write("a.dvb", a);
    dir.write("b.dvb", tv("TWO", 2).APid(0x1FF).bytes() + tv("ONE", 1).VPid(0x100).bytes() +
                           tv("NEW", 5).bytes());
    EXPECT_EQ(runTool("diff a.dvb b.dvb --take-over out.dvb", dir).status, 3);
    const test::ToolRun after = runTool("diff out.dvb b.dvb --json", dir);
    EXPECT_EQ(after.status, 3);
    EXPECT_EQ(after.out, R"({"only_in_first":[{"list":"TV","row":3,"name":"GONE"}],)"
                         R"("only_in_second":[{"list":"TV","row":3,"name":"NEW"}],)"
                         R"("changed":[],)"
                         R"("moved":[{"list":"TV","first_row":1,"second_row":2,"name":"ONE"}]})"
                         "\n");
    EXPECT_EQ(TempDir::read(dir.file("a.dvb")), a);
}

// The names of the lists of a file of `format`, "TV|RADIO"; "refused" when it does not read.
std::string listsOf(const std::string& path, FileFormatId format) {
    auto set = fileFormat(format).readChannels(path, {});
    if (!set) return "refused";
    std::string s;
    for (const ChannelList* list : {&set.value().lists.tv, &set.value().lists.radio}) {
        if (!s.empty()) s += '|';
        for (const auto& ch : *list)
            s += (&ch == &list->front() ? "" : ",") + std::string(trimBlanks(ch.ChName.view()));
    }
    return s;
}

// Each option reaching the sort (every key, --desc, --across-headers), OUT written in IN's
// format whatever it is called, IN left as it was.
TEST(QelToolSort, SortsEachListInItsOwnFormat) {
    TempDir dir;
    // TV: a block before the first header, a header, a block; RADIO: two channels.
    const std::string list = DvbRecord().name("Zeta").freqMHz(11000).SerId(5).TuneFlags(1).bytes() +
                             DvbRecord().name("alpha").freqMHz(12000).SerId(2).bytes() +
                             DvbRecord().name("Hotbird").freqMHz(0).bytes() +
                             DvbRecord().name("Echo").freqMHz(10900).SerId(3).bytes() +
                             DvbRecord().name("bravo").freqMHz(10800).SerId(0x10).bytes() +
                             DvbRecord().type(2).name("Radio B").freqMHz(11500).bytes() +
                             DvbRecord().type(2).name("radio a").freqMHz(11400).bytes();
    dir.write("list.dvb", list);
    ASSERT_EQ(runTool("convert list.dvb image.bin", dir).status, 0);
    const struct {
        std::string args;
        FileFormatId format;  // of out
        std::string lists;
    } cases[] = {
        {"list.dvb out --by name", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,bravo,Echo|radio a,Radio B"},
        {"list.dvb out --by=name --desc", FileFormatId::Dvb,
         "Zeta,alpha,Hotbird,Echo,bravo|Radio B,radio a"},
        {"list.dvb out --by freq", FileFormatId::Dvb,
         "Zeta,alpha,Hotbird,bravo,Echo|radio a,Radio B"},
        {"list.dvb out --by sid", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},
        {"list.dvb out --by sat", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},  // Zeta: port 2
        {"image.bin out --by name --across-headers", FileFormatId::FtaImage,
         "alpha,bravo,Echo,Hotbird,Zeta|radio a,Radio B"},
    };
    for (const auto& c : cases) {
        const test::ToolRun run = runTool("sort " + c.args, dir);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(listsOf(dir.file("out"), c.format), c.lists) << c.args;
    }
    EXPECT_EQ(TempDir::read(dir.file("list.dvb")), list);
}

// Each option reaching "Order like", a channel file and a names file as the reference, the
// report on stdout, OUT written in IN's format, IN left as it was.
TEST(QelToolReorder, OrdersEachListLikeTheReference) {
    TempDir dir;
    const std::string list =
        DvbRecord().name("Hotbird").freqMHz(0).bytes() +
        DvbRecord().name("Tv A").freqMHz(11000).bytes() +
        DvbRecord().name("Tv B").freqMHz(11000).bytes() +
        DvbRecord().name("Tv C").freqMHz(11000).NetId(1).TsId(2).SerId(3).bytes() +
        DvbRecord().name("New").freqMHz(11000).bytes() +
        DvbRecord().type(2).name("R1").freqMHz(11000).bytes() +
        DvbRecord().type(2).name("R2").freqMHz(11000).bytes();
    dir.write("list.dvb", list);
    dir.write("ref.dvb",
              DvbRecord().name("Renamed C").freqMHz(12000).NetId(1).TsId(2).SerId(3).bytes() +
                  DvbRecord().name("tv b").freqMHz(12000).bytes() +
                  DvbRecord().name("HOTBIRD").freqMHz(0).bytes() +
                  DvbRecord().name("Tv A").freqMHz(12000).bytes() +
                  DvbRecord().type(2).name("R2").freqMHz(12000).bytes() +
                  DvbRecord().type(2).name("R1").freqMHz(12000).bytes());
    dir.write("names.lst", "R1\r\nNew\r\n\r\n  tv a\n");
    const struct {
        std::string args;
        std::string lists;
        std::string report;
    } cases[] = {
        {"list.dvb ref.dvb out", "Tv C,Tv B,Hotbird,Tv A,New|R2,R1",
         "TV: matched by ids 1, by name 2, not matched 1, satellite headers 1 of 1\n"
         "RADIO: matched by ids 0, by name 2, not matched 0\n"},
        {"list.dvb ref.dvb out --by name --rest end", "Tv B,Hotbird,Tv A,Tv C,New|R2,R1",
         "TV: matched by ids 0, by name 2, not matched 2, satellite headers 1 of 1\n"
         "RADIO: matched by ids 0, by name 2, not matched 0\n"},
        {"--rest=keep list.dvb names.lst out --by ids", "Hotbird,New,Tv B,Tv C,Tv A|R1,R2",
         "TV: matched by ids 0, by name 2, not matched 2, satellite headers 0 of 1\n"
         "RADIO: matched by ids 0, by name 1, not matched 1\n"},
    };
    for (const auto& c : cases) {
        const test::ToolRun run = runTool("reorder " + c.args, dir);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(listsOf(dir.file("out"), FileFormatId::Dvb), c.lists) << c.args;
        EXPECT_EQ(run.out, c.report) << c.args;
    }
    EXPECT_EQ(TempDir::read(dir.file("list.dvb")), list);
}

}  // namespace
}  // namespace qel
