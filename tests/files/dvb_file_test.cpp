#include "files/dvb_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::DvbRecord;

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

// A channel with every field set is written as the record laid out byte for byte, and that
// record reads back to what the format holds of it.
TEST(DvbRecord, EveryFieldIsReadFromWhereItIsWritten) {
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
                              .Parental("1")
                              .Sat("013")
                              .LoHi("1")
                              .TrId("0007")
                              .Ant("0030");
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

    const auto read = decodeDvbRecord(out);
    ASSERT_TRUE(read.has_value());
    const ChannelRec& r = *read;
    const struct {
        const char* field;
        std::string_view read, held;
    } kFields[] = {
        {"ChName", r.ChName, ch.ChName},
        {"SerId", r.SerId, ch.SerId},
        {"PmtPid", r.PmtPid, ch.PmtPid},
        {"Fec", r.Fec, ch.Fec},
        {"Acbw", r.Acbw, ch.Acbw},
        {"TuneFlags", r.TuneFlags, ch.TuneFlags},
        {"VPid", r.VPid, ch.VPid},
        {"APid", r.APid, ch.APid},
        {"PPid", r.PPid, ch.PPid},
        {"Aux292", r.Aux292, ch.Aux292},
        {"PmcPid", r.PmcPid, ch.PmcPid},
        {"AvFlags", r.AvFlags, ch.AvFlags},
        {"TxtPid", r.TxtPid, ch.TxtPid},
        {"TsId", r.TsId, ch.TsId},
        {"NetId", r.NetId, ch.NetId},
        {"Parental", r.Parental, ch.Parental},
        // What the format does not hold, or holds coarser:
        {"Freq", r.Freq, "01176600"},
        {"Srate", r.Srate, "275000"},
        {"ServType", r.ServType, "02"},
        {"Pol", r.Pol, "0"},  // bit 0 of TuneFlags' first byte, 0C
        {"AutoPmt", r.AutoPmt, "1"},
        {"AutoPid", r.AutoPid, "1"},  // AutoPmt always comes back with AutoPid
        {"Sat", r.Sat, "000"},
        {"LoHi", r.LoHi, "0"},
        {"TrId", r.TrId, "0000"},
        {"Ant", r.Ant, "0000"},
    };
    for (const auto& f : kFields)
        EXPECT_EQ(f.read, f.held) << f.field;
    EXPECT_EQ(r.MatchKey, buildMatchKey(r));

    std::string plain;
    encodeDvbRecord(Channel("X").AutoPid("1").Parental("0"), false, plain);
    EXPECT_EQ(plain.substr(52, 10), std::string("    \x01     ", 10));
    EXPECT_EQ(plain[27], 1);
    EXPECT_EQ(decodeDvbRecord(plain)->ServType.view(), "01");
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

TEST(ParseDvb, AnUnusedSlotIsSkipped) {
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

}  // namespace
}  // namespace qel
