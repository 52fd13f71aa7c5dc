#include "files/dvb_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/channel_builder.h"
#include "support/channel_fields.h"

namespace qel {
namespace {

using test::Channel;
using test::DvbRecord;
using test::fieldsOf;
using test::withFields;

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

TEST(DvbRecord, TheNameIsCutAtAZeroByte) {
    EXPECT_EQ(decode(DvbRecord().name(std::string("AB\0CD", 5))).ChName.view(),
              "AB                  ");
}

// A channel with every field set is written as the record laid out byte for byte, and that
// record reads back to what the format holds of it.
TEST(DvbRecord, EveryFieldIsReadFromWhereItIsWritten) {
    const std::string kHeld =
        "SerId PmtPid Fec Acbw TuneFlags VPid APid PPid Aux292 PmcPid AvFlags TxtPid TsId NetId";
    const std::string held = "1234|0100|4|A5|0C07|1FFF|0201|0202|BEEF|0ABC|D3|0300|4321|013E";
    const std::string more = " Parental Freq Srate ServType AutoPmt AutoPid Sat LoHi TrId Ant";
    const ChannelRec ch = withFields(Channel("[RAI] UNO"), kHeld + more,
                                     held + "|1|01176675|275009|09|1|0|013|1|0007|0030");
    std::string out;
    encodeDvbRecord(ch, true, out);
    DvbRecord expected = DvbRecord().fecCode(6).Acbw(0xA5).AvFlags(0xD3).type(2).automation(3);
    expected.name("\x86RAI\x87 UNO").Parental(true);
    // The words by offset: SerId, PmtPid, MHz, ksym/s, TuneFlags, VPid, APid, PPid, Aux292,
    // PmcPid, TxtPid, TsId, NetId.
    const unsigned kWords[][2] = {{4, 0x1234},  {6, 0x0100},  {8, 11766},   {10, 27500},
                                  {14, 0x0C07}, {16, 0x1FFF}, {18, 0x0201}, {20, 0x0202},
                                  {22, 0xBEEF}, {24, 0x0ABC}, {28, 0x0300}, {30, 0x4321},
                                  {62, 0x013E}};
    for (auto [at, v] : kWords)
        expected.word(at, v);
    EXPECT_EQ(out, expected.bytes());
    EXPECT_EQ(out.substr(52, 10), std::string("    \x03 !   ", 10));

    const auto read = decodeDvbRecord(out);
    ASSERT_TRUE(read.has_value());
    const ChannelRec& r = *read;
    EXPECT_EQ(fieldsOf(r, "ChName"), ch.ChName.str());
    EXPECT_EQ(fieldsOf(r, kHeld + " Parental"), held + "|1");
    // What the format does not hold, or holds coarser: Pol is bit 0 of TuneFlags' first byte
    // (0C), and AutoPmt always comes back with AutoPid.
    EXPECT_EQ(fieldsOf(r, "Freq Srate ServType Pol AutoPmt AutoPid Sat LoHi TrId Ant"),
              "01176600|275000|02|0|1|1|000|0|0000|0000");
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
    // Written back, a record of another type is a TV channel and stays as it was otherwise.
    const auto again = parseDvb(encodeDvb(lists->tv, lists->radio));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(test::column(again->tv, "ServType"), "01 01 01");
    EXPECT_EQ(again->tv[1], Channel(lists->tv[1]).ServType("01").rec());
    EXPECT_EQ(again->radio, lists->radio);
    // A file of unused slots alone reads as no channels.
    auto unused = parseDvb(test::unusedDvbRecord());
    ASSERT_TRUE(unused.ok());
    EXPECT_TRUE(unused->tv.empty() && unused->radio.empty());
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

}  // namespace
}  // namespace qel
