// qel-tool as a user runs it: output, exit status and what is left on disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "bytes/checksum.h"
#include "bytes/lzw.h"
#include "files/g98_file.h"
#include "files/text_export.h"
#include "support/byte_blocks.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/pdf_text.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::TempDir;

using test::ToolRun;

ToolRun tool(const std::string& args, const TempDir& dir) {
    return test::runTool(args, dir);
}

std::string quote(const std::string& s) {
    return "'" + s + "'";
}

// What dump writes of each of the document's files: every field at its full width, the
// settings image and whether it is loaded, an image's tables.
TEST(QelTool, DumpWritesEachFileAsJson) {
    TempDir dir;
    const std::string block = "DVSO" + std::string(1260, '\x01');
    std::string names;
    for (int i = 0; i < 8; ++i)
        names += "ANT" + std::to_string(i) + std::string(4, '\0');
    const std::string image = test::FtaImage()
                                  .add(0x87AA, test::channelEntry("TV1", 1, 2, 3, 0))
                                  .add(0x9001, test::tunedTransponder(1, 2, 0x10, 8, "01176600",
                                                                      "013", 1, 0, "275000", 3))
                                  .add(0x9000, test::word16(1))
                                  .add(0xE505, names)
                                  .add(0x8702, test::bytes("00050001"))
                                  .add(0x9999, std::string("QEL\0", 4))
                                  .build();
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> parts;  // in this order, the first at the start
    } cases[] = {
        {"a.dvb",
         DvbRecord().name("A\"\\\xE8").freqMHz(11766).bytes() +
             DvbRecord().type(2).name("R").bytes(),
         {R"({"file_type":"DVB","tv":[{"MatchKey":)",
          R"("ChName":"A\"\\)"
          "\xC3\xA8"
          R"(                ")",
          R"("Freq":"01176600")", R"(],"radio":[{"MatchKey":)",
          R"("ServType":"02","Parental":"0","AutoPid":"0","AutoPmt":"0"}]})"
          "\n"}},
        {"s.g98",
         block + static_cast<char>(blockChecksum(block)),
         {R"({"file_type":"G98","loaded":true,"image":"4456534F0101)", "\"}\n"}},
        {"b.g98", std::string(1265, ' '), {R"({"file_type":"G98","loaded":false,"image":"2020)"}},
        {"img.bin",
         image,
         {R"({"file_type":"BIN","tv":[{"MatchKey":")",
          R"("ChName":"TV1                 ","Freq":"01176600")",
          R"(,"radio":[],"image":{"tagged":true,"tv_count":1,"radio_count":0,)"
          R"("antennas":["00000000000000000000ANT0\u0000\u0000\u0000\u0000",)",
          R"("settings_record":"","screen_format":"    ","transponders":[)"
          R"("9001001800010001000200100008011766000013010000275000010)",
          R"(,"900000020001"],"pids":[],"others":[]}})"}},
    };
    for (const auto& c : cases) {
        const ToolRun run = tool("dump " + quote(dir.write(c.name, c.bytes)), dir);
        ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out.rfind(c.parts.front(), 0), 0u) << run.out;
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            at = run.out.find(part, at);
            ASSERT_NE(at, std::string::npos) << c.name << ": " << part << "\nin " << run.out;
        }
    }
    // The settings image whole: two hexadecimal digits a byte.
    EXPECT_EQ(tool("dump " + quote(dir.file("s.g98")), dir).out.size(),
              std::string(R"({"file_type":"G98","loaded":true,"image":""})").size() + 2530 + 1);
}

TEST(QelTool, VersionIsTheBuildsVersion) {
    TempDir dir;
    const ToolRun run = tool("--version", dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("qel-tool ") + QEL_VERSION + "\n");
    EXPECT_TRUE(run.err.empty()) << run.err;
}

// One step per writer, the reader of the next step the writer's file: the result holds the bytes
// named or is of the size named. Each writer's bytes are its own tests' (tests/files).
TEST(QelTool, ConvertReachesEveryWriter) {
    TempDir dir;
    const std::string records = DvbRecord().name("C0").freqMHz(11000).fecCode(1).bytes() +
                                DvbRecord().type(2).name("R").NetId(0xABCD).fecCode(7).bytes();
    dir.write("in.dvb", records);
    const std::string block = "DVSO" + std::string(1260, 'q');
    dir.write("in.g98", block + "?");  // a wrong checksum is rewritten
    // Names no single Windows code page holds, in and out, and saved over once more.
    const std::string greek = "\xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC.dvb";
    const std::string cyrillic = "\xD0\x96\xE2\x82\xAC.dvb";
    const struct {
        std::string from, to, bytes;
        std::uintmax_t size;
    } steps[] = {
        {"in.dvb", greek, records, 0},
        {greek, cyrillic, records, 0},
        {greek, cyrillic, records, 0},
        {"in.dvb", "list.csv", "", 0},
        {"list.csv", "back.dvb", records, 0},
        {"in.dvb", "list.txt", "", 0},
        {"list.txt", "text.dvb", "", 128},
        {"in.g98", "out.g98", block + static_cast<char>(blockChecksum(block)), 0},
        {"in.dvb", "a.bin", "", 49152},  // an image made as "Convert to bin" makes one
        {"a.bin", "c.dvb", "", 128},
    };
    for (const auto& s : steps) {
        const ToolRun run = tool("convert '" + s.from + "' '" + s.to + "'", dir);
        ASSERT_EQ(run.status, 0) << s.from << " " << s.to << ": " << run.err;
        const std::string made = TempDir::read(dir.file(s.to));
        EXPECT_TRUE(s.bytes.empty() || made == s.bytes) << s.to;
        EXPECT_TRUE(s.size == 0 || made.size() == s.size) << s.to << ": " << made.size();
    }
    // A refused file leaves the target as it was.
    const std::string csv = TempDir::read(dir.file("list.csv"));
    dir.write("bad.csv", std::string(csv).replace(csv.find("ABCD"), 4, "ABCG"));
    const ToolRun run = tool("convert bad.csv back.dvb", dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(TempDir::read(dir.file("back.dvb")), records);
}

TEST(QelTool, UpgradeListsTheBufferRecords) {
    TempDir dir;
    const std::string a = DvbRecord().freqMHz(11000).name("A");
    const auto loaded = dir.write("l.dvb", a);
    const auto other = dir.write("o.dvb", a + DvbRecord().freqMHz(12000).name("NEW").bytes());
    const ToolRun run = tool("upgrade " + quote(loaded) + " " + quote(other), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 11), R"({"buffer":[)");
    EXPECT_NE(run.out.find(R"("ChName":"NEW                 ")"), std::string::npos);
    EXPECT_EQ(run.out.find(R"("ChName":"A   )"), std::string::npos);
}

TEST(QelTool, SampleFilesReadBack) {
    TempDir dir;
    ASSERT_EQ(tool("sample s.dvb", dir).status, 0);
    ASSERT_EQ(tool("sample s.g98", dir).status, 0);
    EXPECT_NE(tool("dump s.dvb", dir).out.find(R"("ChName":"--- HOTBIRD 13E --- ")"),
              std::string::npos);
    EXPECT_EQ(tool("dump s.g98", dir).out.rfind(R"({"file_type":"G98","loaded":true,)", 0), 0u);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t begin = 0, end; begin < text.size(); begin = end + 1) {
        end = text.find('\n', begin);
        out.push_back(text.substr(begin, end - begin));
    }
    return out;
}

// Each option of the export as the written file shows it: its line `line` holds `piece`
// (at its start for a row) and is `size` bytes long when that matters; the Italian texts are the
// program's own, from its translation file; the file's name in the header is a text of the page as
// any other.
TEST(QelTool, ExportInEveryFormAndLanguage) {
    TempDir dir;
    const std::string records =
        DvbRecord().name("A\xE8").freqMHz(11766).bytes() + DvbRecord().type(2).name("R").bytes();
    dir.write("in.dvb", records);
    dir.write("caf\xC3\xA9.dvb", records);
    const struct {
        std::string args;
        std::size_t line;
        std::string piece;
        std::size_t size = 0;
    } cases[] = {
        {"in.dvb out.txt", 1, "  in.dvb - "},
        {"in.dvb out.txt", 7, "0001 |A\xE8"},
        {"in.dvb out.txt --utf8", 7, "0001 |A\xC3\xA8"},
        {"caf\xC3\xA9.dvb out.txt", 1, "  caf\xE9.dvb - "},
        // One byte per character: an import-compatible row is 100 bytes whatever its name.
        {"in.dvb out.txt --format import", 0, "A\xE8 ", 100},
        {"in.dvb out.txt --lang it --decimal", 1, "QEL - Versione "},
        // The options anywhere after the command, a value after "=" too.
        {"--decimal in.dvb --lang=it out.txt", 5, "No   |Nome                 |Nid   |"},
        {"in.dvb out.txt --format plain --columns freq,ids --decimal", 0,
         "A\xE8" + std::string(18, ' ') + " 00000 00000 00000 011766 ", 46},
    };
    for (const auto& c : cases) {
        const ToolRun run = tool("export " + c.args, dir);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        const std::vector<std::string> lines = linesOf(TempDir::read(dir.file("out.txt")));
        ASSERT_GT(lines.size(), c.line) << c.args;
        const std::size_t at = lines[c.line].find(c.piece);
        EXPECT_TRUE(c.line == 1 ? at != std::string::npos : at == 0)
            << c.args << ": " << lines[c.line];
        EXPECT_TRUE(c.size == 0 || lines[c.line].size() == c.size) << c.args;
    }
    ASSERT_EQ(tool("convert in.dvb a.bin", dir).status, 0);
    EXPECT_EQ(tool("export a.bin b.txt --format import", dir).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.txt")));
}

// The PDF holds the headed export the same options write as text, one page on each sheet.
TEST(QelTool, ExportPdfHoldsTheHeadedPages) {
    TempDir dir;
    std::string records;
    for (int i = 0; i < 80; ++i)
        records += DvbRecord()
                       .name("TV " + std::to_string(i) + (i % 7 == 0 ? " \xE8" : ""))
                       .freqMHz(11000 + static_cast<unsigned>(i))
                       .VPid(0x100 + static_cast<unsigned>(i));
    for (int i = 0; i < 5; ++i)
        records += DvbRecord().type(2).name("RADIO " + std::to_string(i)).freqMHz(12000).bytes();
    const auto dvb = dir.write("in.dvb", records);
    const auto pdf = dir.file("out.pdf");
    const auto txt = dir.file("out.txt");
#ifdef QEL_TOOL_PDF
    // The text file says "Page" in every language, the PDF in the one chosen.
    const std::string options = " --lang it --decimal --columns ids,freq,pids";
    ASSERT_EQ(tool("export " + quote(dvb) + " " + quote(pdf) + options, dir).status, 0);
    ASSERT_EQ(tool("export " + quote(dvb) + " " + quote(txt) + options, dir).status, 0);
    // pdftotext gives UTF-8; the text file has one byte per character.
    const std::string text = latin1ToUtf8(TempDir::read(txt));
    // 80 TV rows on three pages, the RADIO rows on a fourth; each page of the text begins
    // with the empty line before its title.
    EXPECT_EQ(test::pdfPageCount(pdf), 4);
    std::vector<std::string> textPages;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = std::min(text.find("\nQEL - Versione", at + 1), text.size());
        textPages.push_back(text.substr(at, next - at));
        const std::size_t word = textPages.back().find("    Page  ");
        ASSERT_NE(word, std::string::npos);
        textPages.back().replace(word + 4, 4, "Pagina");
        at = next;
    }
    EXPECT_EQ(textPages.size(), 4u);
    EXPECT_EQ(test::pdfPages(pdf), test::expectedPages(textPages));
    // Upper-case extensions are PDFs too.
    EXPECT_EQ(tool("export " + quote(dvb) + " " + quote(dir.file("UP.PDF")), dir).status, 0);
    EXPECT_EQ(test::pdfPageCount(dir.file("UP.PDF")), 4);
    // Only the headed pages make a PDF.
    std::filesystem::remove(pdf);
    for (const char* wrong : {" --format plain", " --utf8"}) {
        const ToolRun run = tool("export " + quote(dvb) + " " + quote(pdf) + wrong, dir);
        EXPECT_EQ(run.status, 1) << wrong;
        EXPECT_NE(run.err.find("headed pages only"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << wrong;
    }
#else
    const ToolRun run = tool("export " + quote(dvb) + " " + quote(pdf), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("without Qt"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(pdf));
#endif
}

// Text, runs of zeros and noise in turn, the LZW table filled and cleared again and again.
std::string mixedData(std::size_t size) {
    std::string s;
    for (std::uint32_t seed = 1; s.size() < size; ++seed) {
        s += test::textBlock(300000, seed) + std::string(40000 + seed * 1000, '\0');
        s += test::randomBlock(120000, seed);
    }
    s.resize(size);
    return s;
}

// More than the tool reads at a time in one stream, or with --blocks (anywhere after the
// command) a stream per 64 KB block in numbered files, around the block size: each the stream
// the encoder makes of it in one piece. The streams themselves (gzip reads them, the edge cases,
// a stream made in pieces) are tests/bytes/lzw_test.cpp's.
TEST(LzwTool, TheEncodersStreamsWholeOrByBlock) {
    const struct {
        std::size_t size;
        const char* args;
        std::size_t blocks;  // with --blocks: how many files
    } cases[] = {
        {3500000, "lzw in.bin out.Z", 0},
        {0, "lzw --blocks in.bin out.Z", 0},
        {65536, "lzw --blocks in.bin out.Z", 1},
        {65537, "lzw in.bin out.Z --blocks", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.args) + " " + std::to_string(c.size));
        TempDir dir;
        const std::string input = mixedData(c.size);
        dir.write("in.bin", input);
        ASSERT_EQ(tool(c.args, dir).status, 0);
        if (std::string(c.args).find("--blocks") == std::string::npos) {
            EXPECT_EQ(TempDir::read(dir.file("out.Z")), lzwCompress(input));
            continue;
        }
        const auto blockName = [](std::size_t index) {
            char name[32];
            std::snprintf(name, sizeof name, "out.Z.%03zu", index);
            return std::string(name);
        };
        for (std::size_t block = 0; block < c.blocks; ++block) {
            const std::string original = input.substr(block * 65536, 65536);
            EXPECT_EQ(TempDir::read(dir.file(blockName(block))), lzwCompress(original)) << block;
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file(blockName(c.blocks))));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z")));
    }
}

}  // namespace
}  // namespace qel
