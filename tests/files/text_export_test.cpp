#include "files/text_export.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/channel_builder.h"
#include "support/channel_fields.h"

namespace qel {
namespace {

using test::Channel;
using test::withFields;

const std::string kName = std::string("RAI UNO").append(13, ' ');

ChannelRec sampleChannel() {
    return withFields(Channel("RAI UNO"),
                      "NetId TsId SerId Freq Pol Srate Fec VPid APid PPid PmtPid TxtPid Acbw "
                      "TuneFlags AvFlags ServType Aux292 Ant",
                      "013E|2775|D431|01176600|1|275000|3|0200|0201|0202|0102|0203|A5|0103|10|01|"
                      "BEEF|0030");
}

ExportOptions options(TextForm form, bool decimal = false, bool fta = false) {
    ExportOptions o;
    o.form = form;
    o.decimal = decimal;
    o.ftaImage = fta;
    return o;
}

ExportOptions onlyColumns(TextForm form, ExportColumns columns, bool fta = false) {
    ExportOptions o = options(form, false, fta);
    o.columns = columns;
    return o;
}

ExportTexts texts(std::string nameHeader = "Name") {
    return {"QEL - Version 9.9",  "list.dvb", "01/02/03",     "TELEVISION CHANNELS",
            "RADIO CHANNELS    ", "hex note", "decimal note", std::move(nameHeader)};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t begin = 0, end; begin < text.size(); begin = end + 1) {
        end = text.find('\n', begin);
        out.push_back(text.substr(begin, end - begin));
    }
    return out;
}

TEST(TextExport, RowsOfEveryForm) {
    const ChannelRec ch = sampleChannel();
    const ChannelRec fec6 = Channel(ch).Fec("6");
    const ExportColumns none{false, false, false, false, false, false, false, false};
    ExportColumns antennaPids = none;
    antennaPids.antenna = antennaPids.pids = true;
    ExportColumns antennaFreq = none;
    antennaFreq.antenna = antennaFreq.frequency = true;
    ExportColumns fecAcbw = none;
    fecAcbw.fec = fecAcbw.bandwidth = true;

    const struct {
        const char* what;
        ChannelRec ch;
        ExportOptions o;
        std::string row;
    } cases[] = {
        {"headed", ch, options(TextForm::Headed),
         "0007 |" + kName +
             " |013E |2775 |D431 |011766 |V |27500 |3/4 |0200 |0201 |0202 |0000 |0102 |0203 |0A5 "
             "|"},
        {"bare rows: no number, blank separators", ch, options(TextForm::Plain),
         kName + " 013E 2775 D431 011766 V 27500 3/4 0200 0201 0202 0000 0102 0203 0A5 "},
        {"import compatible: 12 V and DiSEqC port 1-4", ch, options(TextForm::ImportCompatible),
         kName +
             " 013E 2775 D431 011766 V 27500 3/4 0200 0201 0202 0000 0102 0203 0A5 1 4 01 BEEF"},
        {"decimal ids above 9999 keep their digits", ch, options(TextForm::Headed, true),
         "0007 |" + kName +
             " |00318 |10101 |54321 |011766 |V |27500 |3/4 |00512 |00513 |00514 |00000 |00258 "
             "|00515 |165 |"},
        {"FTA image: antenna, three PIDs", ch, onlyColumns(TextForm::Plain, antennaPids, true),
         kName + " 03 0200 0201 0202 "},
        {"DVB98 list: no antenna", ch, onlyColumns(TextForm::Plain, antennaFreq),
         kName + " 011766 "},
        {"FEC 6 leaves its column out", fec6, onlyColumns(TextForm::Headed, fecAcbw),
         "0007 |" + kName + " |0A5 |"},
        {"an importable row keeps its width", Channel(fec6).TuneFlags("0000").AvFlags("EF"),
         options(TextForm::ImportCompatible),
         kName +
             " 013E 2775 D431 011766 V 27500 0/0 0200 0201 0202 0000 0102 0203 0A5 0 1 01 BEEF"},
        {"line ends in a name become blanks", Channel("A\nB\rC"),
         onlyColumns(TextForm::Plain, none), std::string("A B C").append(15, ' ') + " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exportRow(c.ch, 7, c.o), c.row) << c.what;
    EXPECT_EQ(exportRow(ch, 1, options(TextForm::ImportCompatible)).size(), 100u);
}

TEST(TextExport, HeaderCellsAreAsWideAsTheirColumns) {
    EXPECT_EQ(exportColumnHeader(options(TextForm::Headed), texts()),
              "No   |Name                 |Nid  |Tsid |Sid  |Freq.  |Po|S/R   |Fec |Video|Audio|"
              " Pcr | Pmc | Pmt | Txt |Acq |");
    EXPECT_EQ(exportColumnHeader(options(TextForm::Headed, true, true), texts("Nome")),
              "No   |Nome                 |Nid   |Tsid  |Sid   |Ant|Freq.  |Po|S/R   |Fec |Video "
              "|Audio | Pcr  |Acq |");
    const ChannelRec ch = Channel(sampleChannel()).NetId("FFFF");
    for (bool decimal : {false, true}) {
        for (bool fta : {false, true}) {
            for (const char* name : {"Name", "Nome"}) {
                const ExportOptions o = options(TextForm::Headed, decimal, fta);
                const std::string header = exportColumnHeader(o, texts(name));
                const std::string row = exportRow(ch, 3071, o);
                ASSERT_EQ(header.size(), row.size()) << decimal << fta << name;
                for (std::size_t i = 0; i < row.size(); ++i)
                    EXPECT_EQ(header[i] == '|', row[i] == '|') << i << ' ' << decimal << fta;
            }
        }
    }
}

TEST(TextExport, PagesJoinToTheExportAndEachHoldsOneHeader) {
    const std::string title = "QEL - Version 9.9  list.dvb - 01/02/03     ";
    const struct {
        std::size_t tv, radio;
        std::size_t pages;
    } cases[] = {
        {35, 0, 1}, {36, 0, 2}, {70, 0, 2}, {71, 0, 3}, {35, 1, 2}, {36, 36, 4},
        {80, 5, 4}, {0, 71, 3}, {1, 0, 1},  {0, 0, 0},  {3, 2, 2},
    };
    for (const auto& c : cases) {
        for (const TextForm form : {TextForm::Headed, TextForm::Plain}) {
            const ChannelList tv(c.tv, Channel("TV"));
            const ChannelList radio(c.radio, Channel("RADIO"));
            const ExportOptions asked = options(form, form == TextForm::Plain);
            ExportOptions headed = asked;
            headed.form = TextForm::Headed;
            const std::vector<std::string> pages = exportPages(tv, radio, asked, texts());
            std::string joined;
            for (const std::string& page : pages)
                joined += page;
            // Pages are always headed, in the base asked for.
            EXPECT_EQ(joined, exportText(tv, radio, headed, texts())) << c.tv << '+' << c.radio;
            ASSERT_EQ(pages.size(), c.pages) << c.tv << '+' << c.radio;
            std::size_t tvRows = 0, radioRows = 0;
            for (std::size_t p = 0; p < pages.size(); ++p) {
                const std::vector<std::string> all = lines(pages[p]);
                ASSERT_GE(all.size(), 8u);
                EXPECT_EQ(all[0], "");
                EXPECT_EQ(all[1].rfind(title, 0), 0u) << all[1];
                const std::string count = std::to_string(p + 1) + '/' + std::to_string(c.pages);
                EXPECT_EQ(all[1].substr(all[1].rfind(' ') + 1), count);
                EXPECT_EQ(all[3], form == TextForm::Plain ? "decimal note" : "hex note");
                // A section's title on each of its pages, the column header under it; the last
                // TV page is filled to a page's lines so that RADIO starts a page of its own.
                const bool tvPage = p < (c.tv + kRowsPerPage - 1) / kRowsPerPage;
                EXPECT_NE(all[1].find(tvPage ? "TELEVISION CHANNELS    Page  "
                                             : "RADIO CHANNELS        Page  "),
                          std::string::npos)
                    << all[1];
                EXPECT_EQ(all[5], exportColumnHeader(headed, texts()));
                EXPECT_EQ(all[6], std::string(all[5].size(), '-'));
                if (tvPage && p + 1 < pages.size() && c.radio > 0 &&
                    p + 1 == (c.tv + kRowsPerPage - 1) / kRowsPerPage) {
                    EXPECT_EQ(all.size(), 7 + kRowsPerPage) << c.tv << '+' << c.radio;
                }
                // The header once, at the top; the rest are rows and, at most, fill lines.
                std::size_t rows = 0;
                for (std::size_t i = 2; i < all.size(); ++i) {
                    EXPECT_EQ(all[i].find("QEL - Version"), std::string::npos) << p << ':' << i;
                    if (all[i].find("|TV ") != std::string::npos) ++tvRows, ++rows;
                    if (all[i].find("|RADIO ") != std::string::npos) ++radioRows, ++rows;
                }
                EXPECT_GE(rows, 1u);
                EXPECT_LE(rows, kRowsPerPage);
                EXPECT_LE(all.size(), 7 + kRowsPerPage);
                EXPECT_EQ(pages[p].back(), '\n');
            }
            EXPECT_EQ(tvRows, c.tv);
            EXPECT_EQ(radioRows, c.radio);
        }
    }
}

TEST(TextExport, BareRowsHaveNoHeadersAndProgressCountsEveryRow) {
    std::size_t calls = 0;
    std::size_t last = 0;
    const std::string text =
        exportText(ChannelList(40, Channel("TV \xE8")), ChannelList(2, Channel("R")),
                   options(TextForm::Plain), texts(), [&](std::size_t row, std::size_t total) {
                       ++calls;
                       last = row;
                       EXPECT_EQ(total, 42u);
                   });
    const std::vector<std::string> all = lines(text);
    ASSERT_EQ(all.size(), 42u);
    EXPECT_EQ(all[0].substr(0, 5), "TV \xE8 ");
    EXPECT_EQ(all[41].substr(0, 2), "R ");
    EXPECT_EQ(text.find_first_of("|-"), std::string::npos);
    EXPECT_EQ(calls, 42u);
    EXPECT_EQ(last, 42u);
}

TEST(TextExport, Latin1ToUtf8AndTheDate) {
    EXPECT_EQ(latin1ToUtf8(std::string("A\x7F\x80\xE8\xFF\0", 6)),
              std::string("A\x7F\xC2\x80\xC3\xA8\xC3\xBF\0", 9));
    EXPECT_EQ(exportDate(2026, 12, 7), "07/12/26");
    EXPECT_EQ(exportDate(2000, 1, 31), "31/01/00");
    EXPECT_EQ(exportDate(2109, 10, 1), "01/10/09");
}

}  // namespace
}  // namespace qel
