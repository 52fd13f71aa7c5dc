#include "files/csv_file.h"

#include <gtest/gtest.h>

#include "files/dvb_file.h"
#include "support/channel_builder.h"
#include "support/csv_rows.h"

namespace qel {
namespace {

using test::DvbRecord;

const std::string& kHeader = test::kCsvHeader;
const std::string& kRow = test::kCsvRow;

TEST(Csv, DvbListComesBackByteForByte) {
    std::string dvb;
    const char* names[] = {"Caf\xE9 \xFF\x80", "A, B",          "Say \"hi\", ok", "  lead",
                           "trail   ",         "\x86RAI\x87 1", "line\r\nbreak",  "x\ny\rz"};
    unsigned i = 0;
    for (const char* name : names) {
        DvbRecord r = DvbRecord().name(name).type(i % 3 == 0 ? 2 : (i == 4 ? 5 : 1));
        r.SerId(0xD431 + i).freqMHz(11766 + i).srateKs(27500).fecCode(i).TuneFlags(0x0C07 + i);
        dvb += r.AvFlags(0xD3).Aux292(0xBEEF).automation(i % 4).Parental(i % 2 == 0).NetId(0x013E);
        ++i;
    }
    auto lists = parseDvb(dvb);
    ASSERT_TRUE(lists.ok());
    const std::string csv = exportCsv(lists->tv, lists->radio);
    EXPECT_EQ(csv.substr(0, kHeader.size() + 2), kHeader + "\r\n");
    EXPECT_NE(csv.find("\r\nRADIO,\"Caf\xC3\xA9 \xC3\xBF\xC2\x80             \",01176600,"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\nTV,\"Say \"\"hi\"\", ok        \","), std::string::npos);

    auto back = parseCsv(csv);
    ASSERT_TRUE(back.ok()) << importMessage(back.status());
    EXPECT_EQ(back->tv, lists->tv);
    EXPECT_EQ(back->radio, lists->radio);
    EXPECT_EQ(encodeDvb(back->tv, back->radio), encodeDvb(lists->tv, lists->radio));
}

TEST(Csv, FieldsASpreadsheetWouldRunGoOutAsText) {
    // Each name fills the 20 characters of the record; the cell is what the row carries.
    const struct {
        std::string name;
        std::string cell;
    } cases[] = {
        {"=cmd|' /C calc'!A0  ", "\"'=cmd|' /C calc'!A0  \""},
        {"=1+2", "\"'=1+2" + std::string(16, ' ') + "\""},
        {"+CHANNELXXXXXXXXXXXX", "'+CHANNELXXXXXXXXXXXX"},
        {"--- HOTBIRD 13E ----", "'--- HOTBIRD 13E ----"},
        {"@SUM(A1)XXXXXXXXXXXX", "'@SUM(A1)XXXXXXXXXXXX"},
        {"\tTAB XXXXXXXXXXXXXXX", "'\tTAB XXXXXXXXXXXXXXX"},
        {"\rCR XXXXXXXXXXXXXXXX", "\"'\rCR XXXXXXXXXXXXXXXX\""},
        {"'QUOTED XXXXXXXXXXXX", "''QUOTED XXXXXXXXXXXX"},
        {"''TWICE XXXXXXXXXXXX", "'''TWICE XXXXXXXXXXXX"},
        {"RAI 1 = 2 - 3 + @XXX", "RAI 1 = 2 - 3 + @XXX"},
        {" =LEADING BLANK XXXX", "\" =LEADING BLANK XXXX\""},
    };
    for (const auto& c : cases) {
        const std::string dvb = DvbRecord().name(c.name).SerId(0x1234).fecCode(1).bytes();
        auto lists = parseDvb(dvb);
        ASSERT_TRUE(lists.ok());
        const std::string csv = exportCsv(lists->tv, lists->radio);
        EXPECT_NE(csv.find("\r\nTV," + c.cell + ",00000000,"), std::string::npos) << c.name << "\n"
                                                                                  << csv;
        auto back = parseCsv(csv);
        ASSERT_TRUE(back.ok()) << c.name << ": " << importMessage(back.status());
        EXPECT_EQ(encodeDvb(back->tv, back->radio), dvb) << c.name;
    }

    // One apostrophe goes, whatever follows it; one further in stays.
    const struct {
        std::string cell;
        std::string name;
    } read[] = {{"'RAI", "RAI"}, {"''RAI", "'RAI"}, {"'=RAI", "=RAI"}, {"RAI'", "RAI'"}};
    for (const auto& c : read) {
        std::string row = kRow;
        row.replace(3, 7, c.cell);
        auto lists = parseCsv(kHeader + "\r\n" + row + "\r\n");
        ASSERT_TRUE(lists.ok()) << c.cell << ": " << importMessage(lists.status());
        EXPECT_EQ(lists->tv.at(0).ChName.view(), c.name + std::string(20 - c.name.size(), ' '));
    }
}

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
    // Columns in another order, LF row ends, a byte-order mark, a short name, lower-case hex.
    std::string header = kHeader.substr(5) + ",list";
    std::string row = kRow.substr(3);
    row.replace(row.find("BEEF"), 4, "beef");
    auto lists = parseCsv("\xEF\xBB\xBF" + header + "\n" + row + ",radio\n" + row + ",TV\n\n");
    ASSERT_TRUE(lists.ok()) << importMessage(lists.status());
    ASSERT_EQ(lists->tv.size(), 1u);
    ASSERT_EQ(lists->radio.size(), 1u);
    EXPECT_EQ(lists->radio[0].ChName.view(), "RAI UNO             ");
    EXPECT_EQ(lists->radio[0].Aux292.view(), "BEEF");
    EXPECT_EQ(lists->radio[0].MatchKey, buildMatchKey(lists->radio[0]));
}

TEST(Csv, RefusesWithRowAndColumn) {
    const auto field = [](std::size_t column, std::string_view value) {
        std::string row = kRow;
        std::size_t begin = 0;
        for (std::size_t i = 1; i < column; ++i)
            begin = row.find(',', begin) + 1;
        return row.replace(begin, row.find(',', begin) - begin, value);
    };
    const std::string head = kHeader + "\r\n" + kRow + "\r\n";
    const struct {
        std::string csv;
        ErrorCode code;
        std::size_t row, column;
        std::string field;
    } cases[] = {
        {kHeader.substr(kHeader.find(',') + 1) + "\r\n" + kRow, ErrorCode::CsvMissingColumn, 1, 0,
         "list"},
        {kHeader + ",Extra\r\n", ErrorCode::CsvUnknownColumn, 1, 29, "Extra"},
        {kHeader + ",Freq\r\n", ErrorCode::CsvUnknownColumn, 1, 29, "Freq"},
        {kHeader.substr(0, kHeader.rfind(',')) + "\r\n", ErrorCode::CsvMissingColumn, 1, 0,
         "AutoPmt"},
        {head + kRow + ",0\r\n", ErrorCode::CsvWrongFieldCount, 3, 0, ""},
        {head + "\r\n" + kRow, ErrorCode::CsvWrongFieldCount, 3, 0, ""},
        {head + field(3, "1176600"), ErrorCode::CsvWrongFieldWidth, 3, 3, "Freq"},
        {head + field(2, std::string(21, 'N')), ErrorCode::CsvWrongFieldWidth, 3, 2, "ChName"},
        {head + field(12, "01G3"), ErrorCode::FieldNotNumber, 3, 12, "NetId"},
        {head + field(1, "SAT"), ErrorCode::CsvWrongList, 3, 1, "list"},
        {head + field(2, "RAI \"1\""), ErrorCode::CsvWrongQuoting, 3, 2, ""},
        {head + field(2, "\"RAI\"x"), ErrorCode::CsvWrongQuoting, 3, 2, ""},
        {head + field(2, "\"RAI, never closed"), ErrorCode::CsvWrongQuoting, 3, 2, ""},
        {head + field(2, "RAI \xC4\x80"), ErrorCode::CharacterNotLatin1, 3, 2, "ChName"},
    };
    for (const auto& c : cases) {
        ImportProblem problem;
        auto lists = parseCsv(c.csv, &problem);
        ASSERT_FALSE(lists.ok()) << c.csv;
        EXPECT_EQ(lists.error(), c.code) << c.csv;
        EXPECT_EQ(problem.row, c.row) << c.csv;
        EXPECT_EQ(problem.column, c.column) << c.csv;
        EXPECT_EQ(problem.field, c.field) << c.csv;
    }
}

}  // namespace
}  // namespace qel
