#include "files/dvb_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/workspace.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::Channel;
using test::DvbRecord;
using test::TempDir;

class RecordingLog : public DebugLog {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

ChannelRec decode(const DvbRecord& rec) {
    auto ch = decodeDvbRecord(rec.bytes());
    EXPECT_TRUE(ch.has_value());
    return ch.value_or(ChannelRec{});
}

TEST(DvbRecord, DecodesEveryField) {
    const ChannelRec ch = decode(DvbRecord()
                                     .SerId(0x1234)
                                     .PmtPid(0x0100)
                                     .freqMHz(11766)
                                     .srateKs(27500)
                                     .fecCode(4)
                                     .Acbw(0xA5)
                                     .TuneFlags(0x0C07)
                                     .VPid(0x1FFF)
                                     .APid(0x0201)
                                     .PPid(0x0202)
                                     .Aux292(0xBEEF)
                                     .PmcPid(0x0ABC)
                                     .AvFlags(0xD3)
                                     .type(1)
                                     .TxtPid(0x0300)
                                     .TsId(0x4321)
                                     .name("RAI UNO")
                                     .automation(1)
                                     .Parental(true)
                                     .NetId(0x013E));
    EXPECT_EQ(ch.SerId.view(), "1234");
    EXPECT_EQ(ch.PmtPid.view(), "0100");
    EXPECT_EQ(ch.Freq.view(), "01176600");
    EXPECT_EQ(ch.Srate.view(), "275000");
    EXPECT_EQ(ch.Fec.view(), "3");
    EXPECT_EQ(ch.Acbw.view(), "A5");
    EXPECT_EQ(ch.TuneFlags.view(), "0C07");
    EXPECT_EQ(ch.Pol.view(), "0");  // bit 0 of 0C; 07 is the inversion and DiSEqC byte
    EXPECT_EQ(ch.VPid.view(), "1FFF");
    EXPECT_EQ(ch.APid.view(), "0201");
    EXPECT_EQ(ch.PPid.view(), "0202");
    EXPECT_EQ(ch.Aux292.view(), "BEEF");
    EXPECT_EQ(ch.PmcPid.view(), "0ABC");
    EXPECT_EQ(ch.AvFlags.view(), "D3");
    EXPECT_EQ(ch.ServType.view(), "01");
    EXPECT_EQ(ch.TxtPid.view(), "0300");
    EXPECT_EQ(ch.TsId.view(), "4321");
    EXPECT_EQ(ch.NetId.view(), "013E");
    EXPECT_EQ(ch.ChName.view(), "RAI UNO             ");
    EXPECT_EQ(ch.AutoPid.view(), "1");
    EXPECT_EQ(ch.AutoPmt.view(), "0");
    EXPECT_EQ(ch.Parental.view(), "1");
    EXPECT_EQ(ch.Sat.view(), "000");
    EXPECT_EQ(ch.LoHi.view(), "0");
    EXPECT_EQ(ch.TrId.view(), "0000");
    EXPECT_EQ(ch.Ant.view(), "0000");
    EXPECT_EQ(ch.MatchKey, buildMatchKey(ch));
}

TEST(DvbRecord, FecCodes) {
    // code in byte 13 (low 4 bits) -> Fec digit
    const std::pair<unsigned, const char*> cases[] = {
        {0, "0"}, {1, "0"}, {2, "1"}, {3, "2"},    {4, "3"},
        {5, "4"}, {6, "4"}, {7, "5"}, {0xF7, "5"},  // the high 4 bits are not part of the code
    };
    for (auto [code, fec] : cases) {
        EXPECT_EQ(decode(DvbRecord().fecCode(code)).Fec.view(), fec) << code;
    }
    const std::pair<const char*, char> written[] = {
        {"0", 1}, {"1", 2}, {"2", 3}, {"3", 4}, {"4", 6}, {"5", 7},
    };
    for (auto [fec, code] : written) {
        std::string out;
        encodeDvbRecord(Channel("F").Fec(fec), false, out);
        EXPECT_EQ(out[12], code) << fec;
    }
}

TEST(DvbRecord, AutomationAndParentalBytes) {
    const std::tuple<unsigned, const char*, const char*> cases[] = {
        {3, "1", "1"}, {1, "0", "1"}, {0, "0", "0"}, {2, "0", "0"}, {255, "0", "0"},
    };
    for (auto [byte, pmt, pid] : cases) {
        const ChannelRec ch = decode(DvbRecord().automation(byte));
        EXPECT_EQ(ch.AutoPmt.view(), pmt) << byte;
        EXPECT_EQ(ch.AutoPid.view(), pid) << byte;
    }
    EXPECT_EQ(decode(DvbRecord().Parental(false)).Parental.view(), "0");
    EXPECT_EQ(decode(DvbRecord().byte(58, 'x')).Parental.view(), "0");
}

TEST(DvbRecord, NameCutAtZeroByteAndBracketBytes) {
    EXPECT_EQ(decode(DvbRecord().name(std::string("AB\0CD", 5))).ChName.view(),
              "AB                  ");
    EXPECT_EQ(decode(DvbRecord().name("\x86RAI\x87 1")).ChName.view(), "[RAI] 1             ");

    std::string out;
    encodeDvbRecord(Channel("[RAI] 1"), false, out);
    EXPECT_EQ(out.substr(32, 20), "\x86RAI\x87 1             ");
}

TEST(DvbRecord, WritesTheLayoutByteForByte) {
    const ChannelRec ch = Channel("[RAI] UNO")
                              .SerId("1234")
                              .PmtPid("0100")
                              .Freq("01176675")
                              .Srate("275009")
                              .Fec("4")
                              .Acbw("A5")
                              .TuneFlags("0C07")
                              .VPid("1FFF")
                              .APid("0201")
                              .PPid("0202")
                              .Aux292("BEEF")
                              .PmcPid("0ABC")
                              .AvFlags("D3")
                              .ServType("09")
                              .TxtPid("0300")
                              .TsId("4321")
                              .NetId("013E")
                              .AutoPmt("1")
                              .AutoPid("0")
                              .Parental("1");
    std::string out;
    encodeDvbRecord(ch, true, out);
    const std::string expected = DvbRecord()
                                     .SerId(0x1234)
                                     .PmtPid(0x0100)
                                     .freqMHz(11766)
                                     .srateKs(27500)
                                     .fecCode(6)
                                     .Acbw(0xA5)
                                     .TuneFlags(0x0C07)
                                     .VPid(0x1FFF)
                                     .APid(0x0201)
                                     .PPid(0x0202)
                                     .Aux292(0xBEEF)
                                     .PmcPid(0x0ABC)
                                     .AvFlags(0xD3)
                                     .type(2)
                                     .TxtPid(0x0300)
                                     .TsId(0x4321)
                                     .name("\x86RAI\x87 UNO")
                                     .automation(3)
                                     .Parental(true)
                                     .NetId(0x013E);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.substr(52, 10), std::string("    \x03 !   ", 10));

    std::string plain;
    encodeDvbRecord(Channel("X").AutoPid("1").Parental("0"), false, plain);
    EXPECT_EQ(plain.substr(52, 10), std::string("    \x01     ", 10));
    EXPECT_EQ(plain[27], 1);
}

TEST(DvbRecord, OutOfRangeAndNonNumericTuning) {
    std::string out;
    // 70000 MHz = 0x11170 and 99999 ksym/s = 0x1869F keep their last 4 hex digits.
    encodeDvbRecord(Channel("X").Freq("07000000").Srate("999999"), false, out);
    EXPECT_EQ(out.substr(8, 4), "\x11\x70\x86\x9F");
    out.clear();
    encodeDvbRecord(Channel("X").Freq("NO TS"), false, out);
    EXPECT_EQ(out.substr(8, 2), std::string("\0\0", 2));
    // A hex field that is not hex zeroes its group of four digits.
    out.clear();
    encodeDvbRecord(Channel("X").Acbw("ZZ").Fec("1"), false, out);
    EXPECT_EQ(out.substr(12, 2), std::string("\0\0", 2));
}

TEST(ParseDvb, LengthsAndSkippedSlots) {
    EXPECT_FALSE(parseDvb(std::string(63, 'x')).ok());
    EXPECT_EQ(parseDvb(std::string(65, 'x')).error(), ErrorCode::WrongFileLength);

    auto empty = parseDvb("");
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty->tv.empty() && empty->radio.empty());

    auto unused = parseDvb(test::unusedDvbRecord());
    ASSERT_TRUE(unused.ok());
    EXPECT_TRUE(unused->tv.empty() && unused->radio.empty());
}

TEST(ParseDvb, TypeByteChoosesTheList) {
    const std::string bytes = DvbRecord().type(1).name("T1").bytes() +
                              DvbRecord().type(2).name("R1").bytes() + test::unusedDvbRecord() +
                              DvbRecord().type(0x19).name("T2").bytes() +
                              DvbRecord().type(0).name("T3").bytes();
    RecordingLog log;
    auto lists = parseDvb(bytes, &log);
    ASSERT_TRUE(lists.ok());
    ASSERT_EQ(lists->tv.size(), 3u);
    ASSERT_EQ(lists->radio.size(), 1u);
    EXPECT_EQ(lists->tv[1].ServType.view(), "19");
    EXPECT_EQ(lists->tv[2].ServType.view(), "00");
    EXPECT_EQ(lists->radio[0].ChName.view().substr(0, 2), "R1");
    // Everything that is not plain TV is logged by name.
    ASSERT_EQ(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[0], "R1                  ");
}

TEST(DvbRecord, PolarisationIsBitZeroOfTheFlagsFirstByte) {
    const std::pair<unsigned, const char*> cases[] = {
        {0x0000, "0"}, {0x0001, "0"}, {0x0003, "0"}, {0x0100, "1"},
        {0x0103, "1"}, {0x120C, "0"}, {0x130C, "1"}, {0xFFFF, "1"},
    };
    for (const auto& [flags, pol] : cases) {
        const ChannelRec ch = decode(DvbRecord().TuneFlags(flags).type(1));
        EXPECT_EQ(ch.Pol.view(), pol) << std::hex << flags;
    }
}

TEST(DvbFile, WriteThenReadKeepsWhatTheFormatHolds) {
    const ChannelRec tv = Channel("[RAI] 1")
                              .Freq("01176675")
                              .Srate("275009")
                              .Fec("4")
                              .Sat("013")
                              .LoHi("1")
                              .Pol("0")
                              .VPid("0200")
                              .APid("0201")
                              .PPid("0202")
                              .NetId("013E")
                              .TsId("0C1C")
                              .SerId("0D49")
                              .TrId("0007")
                              .Ant("0030")
                              .PmtPid("0100")
                              .PmcPid("0101")
                              .TxtPid("0300")
                              .Acbw("5A")
                              .TuneFlags("0109")
                              .Aux292("1234")
                              .AvFlags("93")
                              .ServType("0C")
                              .Parental("1")
                              .AutoPid("0")
                              .AutoPmt("1");
    const ChannelRec radio = Channel("R").Freq("01234500").TuneFlags("0002").AutoPid("1");
    auto back = parseDvb(encodeDvb({tv}, {radio}));
    ASSERT_TRUE(back.ok());
    ASSERT_EQ(back->tv.size(), 1u);
    ASSERT_EQ(back->radio.size(), 1u);
    const ChannelRec& t = back->tv[0];
    EXPECT_EQ(t.ChName, tv.ChName);
    for (auto [got, want] : {std::pair{t.VPid.view(), tv.VPid.view()},
                             {t.APid.view(), tv.APid.view()},
                             {t.PPid.view(), tv.PPid.view()},
                             {t.NetId.view(), tv.NetId.view()},
                             {t.TsId.view(), tv.TsId.view()},
                             {t.SerId.view(), tv.SerId.view()},
                             {t.PmtPid.view(), tv.PmtPid.view()},
                             {t.PmcPid.view(), tv.PmcPid.view()},
                             {t.TxtPid.view(), tv.TxtPid.view()},
                             {t.TuneFlags.view(), tv.TuneFlags.view()},
                             {t.Aux292.view(), tv.Aux292.view()},
                             {t.AvFlags.view(), tv.AvFlags.view()},
                             {t.Acbw.view(), tv.Acbw.view()},
                             {t.Fec.view(), tv.Fec.view()},
                             {t.Parental.view(), tv.Parental.view()}}) {
        EXPECT_EQ(got, want);
    }
    // What the format does not hold, or holds coarser:
    EXPECT_EQ(t.Freq.view(), "01176600");
    EXPECT_EQ(t.Srate.view(), "275000");
    EXPECT_EQ(t.Sat.view(), "000");
    EXPECT_EQ(t.LoHi.view(), "0");
    EXPECT_EQ(t.TrId.view(), "0000");
    EXPECT_EQ(t.Ant.view(), "0000");
    EXPECT_EQ(t.ServType.view(), "01");
    EXPECT_EQ(t.AutoPmt.view(), "1");
    EXPECT_EQ(t.AutoPid.view(), "1");  // AutoPmt always comes back with AutoPid
    EXPECT_EQ(t.Pol.view(), "1");      // bit 0 of TuneFlags' first byte, 01
    EXPECT_EQ(back->radio[0].ServType.view(), "02");
    EXPECT_EQ(back->radio[0].Pol.view(), "0");
    EXPECT_EQ(back->radio[0].AutoPid.view(), "1");
    EXPECT_EQ(back->radio[0].AutoPmt.view(), "0");
}

TEST(DvbFile, EncodingIsStableAfterOneRoundTrip) {
    std::string bytes;
    for (unsigned i = 0; i < 200; ++i) {
        bytes += DvbRecord()
                     .SerId(i * 7)
                     .freqMHz(10700 + i)
                     .srateKs(22000 + i)
                     .fecCode(i % 8)
                     .TuneFlags(i)
                     .type(i % 3)
                     .automation(i % 4)
                     .Parental(i % 5 == 0)
                     .name("CH " + std::to_string(i))
                     .NetId(i * 13);
    }
    auto first = parseDvb(bytes);
    ASSERT_TRUE(first.ok());
    const std::string once = encodeDvb(first->tv, first->radio);
    auto second = parseDvb(once);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(encodeDvb(second->tv, second->radio), once);
    ASSERT_EQ(second->tv.size(), first->tv.size());
    for (std::size_t i = 0; i < first->tv.size(); ++i) {
        ChannelRec expected = first->tv[i];
        expected.ServType = "01";  // type bytes other than 1 and 2 are written as TV
        ASSERT_EQ(second->tv[i], expected) << i;
    }
}

TEST(ReadDvbFile, ReadsTheFileAndRefusesWhatIsNoChannelTable) {
    TempDir dir;
    const auto path = dir.write("radio.dvb", DvbRecord().type(2).name("R1").bytes());
    auto lists = readDvbFile(path);
    ASSERT_TRUE(lists.ok());
    EXPECT_TRUE(lists->tv.empty());
    ASSERT_EQ(lists->radio.size(), 1u);
    EXPECT_EQ(readDvbFile(dir.write("bad.dvb", DvbRecord().bytes() + "x")).error(),
              ErrorCode::WrongFileLength);
    EXPECT_EQ(readDvbFile(dir.file("missing.dvb")).error(), ErrorCode::CannotOpenFile);
}

TEST(ReadDvbFile, ANameBeginningWithTheBlockTagIsAnOrdinaryFile) {
    TempDir dir;
    const auto path = dir.write("DVSO-list.dvb", DvbRecord().name("TV1").bytes());
    auto lists = readDvbFile(path);
    ASSERT_TRUE(lists.ok());
    ASSERT_EQ(lists->tv.size(), 1u);
}

}  // namespace
}  // namespace qel
