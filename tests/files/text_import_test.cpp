#include "files/text_import.h"

#include <gtest/gtest.h>

#include "files/text_export.h"
#include "support/channel_builder.h"
#include "support/channel_fields.h"

namespace qel {
namespace {

using test::Channel;
using test::fieldsOf;
using test::withFields;

// An import-compatible line, as a user would type it; a longer name is taken as 20 characters.
std::string line(std::string_view name = "RAI UNO") {
    std::string n(name);
    if (n.size() < 20) n.resize(20, ' ');
    return n + " 013E 2775 D431 011766 V 27500 3/4 0200 0201 0202 0000 0102 0203 0A5 1 4 01 BEEF";
}

std::string with(std::string row, std::size_t pos1, std::string_view text) {
    return row.replace(pos1 - 1, text.size(), text);
}

TEST(TextImport, ReadsTheFixedColumns) {
    auto lists = parseImportText(line() + "\n" + with(line("RADIO 1"), 94, "02") + "\n" +
                                 "--- HOTBIRD 13E --- \n");
    ASSERT_TRUE(lists.ok()) << importMessage(lists.status());
    ASSERT_EQ(lists->tv.size(), 2u);
    ASSERT_EQ(lists->radio.size(), 1u);
    const ChannelRec expected = withFields(
        Channel(line().substr(0, 20)),
        "NetId TsId SerId Freq Pol Srate Fec VPid APid PPid PmcPid PmtPid TxtPid Acbw AvFlags "
        "TuneFlags ServType Aux292",
        "013E|2775|D431|01176600|1|275000|3|0200|0201|0202|0000|0102|0203|A5|10|0103|01|BEEF");
    EXPECT_EQ(lists->tv[0], Channel(expected).withMatchKey().rec());
    EXPECT_EQ(lists->radio[0].ChName.view(), "RADIO 1             ");
    // A name alone is a satellite header entry.
    EXPECT_EQ(lists->tv[1], Channel("--- HOTBIRD 13E --- ").withMatchKey().rec());
}

TEST(TextImport, RefusesWithRowAndField) {
    const std::string ok = line() + "\n";
    const std::string utf8Wide = "\xC4\x80";  // U+0100
    const struct {
        std::string text;
        ErrorCode code;
        std::size_t row;
        std::string field;
    } cases[] = {
        {ok + line().substr(1) + "\n", ErrorCode::WrongLineLength, 2, ""},
        {ok + "\n" + ok, ErrorCode::WrongLineLength, 2, ""},
        // Every length is checked before any field.
        {with(line(), 37, "01X766") + "\n" + ok + "short\n", ErrorCode::WrongLineLength, 3, ""},
        {ok + with(line(), 22, "01G3"), ErrorCode::FieldNotNumber, 2, "NetId"},
        {with(line(), 37, " 11766"), ErrorCode::FieldNotNumber, 1, "Freq"},
        {with(line(), 44, "X"), ErrorCode::FieldNotNumber, 1, "Pol"},
        {with(line(), 46, "2750A"), ErrorCode::FieldNotNumber, 1, "Srate"},
        {with(line(), 81, "02 3"), ErrorCode::FieldNotNumber, 1, "TxtPid"},
        {with(line(), 86, "1A5"), ErrorCode::FieldNotNumber, 1, "Acbw"},
        {with(line(), 94, "0Z"), ErrorCode::FieldNotNumber, 1, "ServType"},
        {with(line(), 97, "BEE-"), ErrorCode::FieldNotNumber, 1, "Aux292"},
        {ok + ok + with(line(), 92, "0"), ErrorCode::DiseqcPortOutOfRange, 3, "TuneFlags"},
        {with(line(), 92, "5"), ErrorCode::DiseqcPortOutOfRange, 1, "TuneFlags"},
        {ok + utf8Wide + line().substr(1), ErrorCode::CharacterNotLatin1, 2, "ChName"},
    };
    for (const auto& c : cases) {
        ImportProblem problem;
        auto lists = parseImportText(c.text, &problem);
        ASSERT_FALSE(lists.ok()) << c.text;
        EXPECT_EQ(lists.error(), c.code) << c.text;
        EXPECT_EQ(problem.row, c.row) << c.text;
        EXPECT_EQ(problem.field, c.field) << c.text;
    }
    auto refused = parseImportText(ok + ok + "x\n");
    EXPECT_EQ(importMessage(refused.status()), "Wrong lenght in row 3");
    refused = parseImportText(with(line(), 37, "01X766"));
    EXPECT_EQ(importMessage(refused.status()), "Not a valid value in row 1 (Freq)");
}

// What a hand edit may leave that still has one meaning is read; nothing refuses the file.
TEST(TextImport, ReadsWhatAHandEditLeaves) {
    const auto fec = [](const ChannelRec& r) { return r.Fec.view(); };
    const auto flags = [](const ChannelRec& r) { return r.AvFlags.view(); };
    const auto pol = [](const ChannelRec& r) { return r.Pol.view(); };
    const struct {
        std::size_t pos;
        std::string text;
        std::string_view (*field)(const ChannelRec&);
        std::string expected;
    } cases[] = {
        {52, "7/8", fec, "5"},  {52, "0/0", fec, "0"},
        {52, "4/5", fec, "0"},  // no code for it: no FEC given
        {52, "   ", fec, "0"},  {52, "3/5", fec, "0"},
        {90, "0", flags, "00"}, {90, "1", flags, "10"},
        {90, "2", flags, "10"}, {90, "Y", flags, "10"},
        {44, "H", pol, "0"},    {44, "h", pol, "0"},
        {44, "V", pol, "1"},    {44, "v", pol, "1"},
    };
    for (const auto& c : cases) {
        auto lists = parseImportText(with(line(), c.pos, c.text));
        ASSERT_TRUE(lists.ok()) << c.pos << " '" << c.text
                                << "': " << importMessage(lists.status());
        EXPECT_EQ(c.field(lists->tv[0]), c.expected) << c.pos << " '" << c.text << "'";
    }
    // The polarisation read from a lower-case letter reaches the DiSEqC word too.
    auto lower = parseImportText(with(with(line(), 44, "v"), 92, "3"));
    ASSERT_TRUE(lower.ok());
    EXPECT_EQ(lower->tv[0].TuneFlags.view(), "0102");
}

TEST(TextImport, EncodingsAndLineEnds) {
    const std::string name = "Caf\xE8 \xFF";  // 8-bit characters, one byte each in the record
    const std::string utf8Name = "Caf\xC3\xA8 \xC3\xBF";
    const struct {
        const char* what;
        std::string text;
        std::size_t channels;
    } cases[] = {
        {"UTF-8", line(utf8Name + "              "), 1},
        {"UTF-8 with a byte-order mark, CR LF",
         "\xEF\xBB\xBF" + line(utf8Name + "              ") + "\r\n" + line() + "\r\n", 2},
        {"one byte per character", line(name) + "\n", 1},
        {"empty lines at the end", line(name) + "\n\r\n\n", 1},
        {"a lone CR ends the last line", line(name) + "\r", 1},
    };
    for (const auto& c : cases) {
        auto lists = parseImportText(c.text);
        ASSERT_TRUE(lists.ok()) << c.what << ": " << importMessage(lists.status());
        ASSERT_EQ(lists->tv.size(), c.channels) << c.what;
        EXPECT_TRUE(lists->radio.empty());
        if (c.channels > 0) {
            EXPECT_EQ(lists->tv[0].ChName.view().substr(0, 6), name) << c.what;
        }
    }
}

TEST(TextImport, TakesBackWhatTheExportWrote) {
    ChannelList tv;
    ChannelList radio;
    for (unsigned port = 0; port < 4; ++port) {
        const std::string p = std::to_string(port);
        tv.push_back(withFields(Channel("P" + p + ",\"\xE9 "),
                                "NetId Freq Srate PmcPid Acbw ServType Aux292 Pol Fec AvFlags "
                                "TuneFlags",
                                "ABCD|12345678|299990|1FFF|0F|0A|F00D|" + std::to_string(port % 2) +
                                    "|" + std::to_string(port + 2) + (port < 2 ? "|10" : "|00") +
                                    "|000" + p));
    }
    radio.push_back(Channel("RADIO").ServType("02").TuneFlags("0003"));
    ExportOptions o;
    o.form = TextForm::ImportCompatible;
    auto back = parseImportText(latin1ToUtf8(exportText(tv, radio, o, {})));
    ASSERT_TRUE(back.ok()) << importMessage(back.status());
    ASSERT_EQ(back->tv.size(), tv.size());
    ASSERT_EQ(back->radio.size(), 1u);
    // What the export keeps: the frequency in whole MHz, and of TuneFlags the DiSEqC port.
    const char* kKept = "ChName NetId Pol Srate Fec PmcPid Acbw AvFlags ServType Aux292";
    for (std::size_t i = 0; i < tv.size(); ++i) {
        const ChannelRec& r = back->tv[i];
        EXPECT_EQ(fieldsOf(r, kKept), fieldsOf(tv[i], kKept));
        EXPECT_EQ(r.Freq.view(), "12345600");
        EXPECT_EQ(r.TuneFlags[3], tv[i].TuneFlags[3]) << "DiSEqC port of " << i;
    }
    EXPECT_EQ(back->radio[0].TuneFlags.view(), "0003");
}

}  // namespace
}  // namespace qel
