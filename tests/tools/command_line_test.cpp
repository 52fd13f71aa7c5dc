// qel-tool's command line as a whole: the usage its command table prints, the manual page and
// the README naming every command, and wrong calls of every command refused, nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::runTool;
using test::TempDir;

// The commands the usage names: the word after "qel-tool" at the start of its lines.
std::set<std::string> commandsInUsage(const std::string& usage) {
    std::set<std::string> names;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("  qel-tool ")) continue;
        const std::string rest = line.substr(11);
        names.insert(rest.substr(0, rest.find(' ')));
    }
    return names;
}

TEST(ToolCommandLine, TheManualAndTheReadmeNameEveryCommandOfTheUsage) {
    TempDir dir;
    const test::ToolRun run = runTool("", dir);
    EXPECT_EQ(run.status, 1);
    const std::set<std::string> names = commandsInUsage(run.err);
    EXPECT_EQ(names.size(), 17u) << run.err;
    const std::string manual = TempDir::read(QEL_SOURCE_DIR "/packaging/man/qel-tool.1.in");
    const std::string readme = TempDir::read(QEL_SOURCE_DIR "/README.md");
    for (const std::string& name : names) {
        if (name == "--version") {
            EXPECT_NE(manual.find(".B qel\\-tool \\-\\-version"), std::string::npos);
            continue;
        }
        EXPECT_NE(manual.find(".B qel\\-tool " + name + "\n"), std::string::npos) << name;
        EXPECT_NE(readme.find("    qel-tool " + name + " "), std::string::npos) << name;
        // Each command refuses an option it does not know with its own usage.
        const test::ToolRun wrong = runTool(name + " --no-such-option", dir);
        EXPECT_EQ(wrong.status, 1) << name;
        EXPECT_NE(wrong.err.find("unknown option --no-such-option\nusage: qel-tool " + name),
                  std::string::npos)
            << wrong.err;
    }
}

// Wrong usage (1) or an input refused (2), before any output is written or a port opened ("P"
// a port that does not exist: its message shows that the inputs were all read).
TEST(ToolCommandLine, WrongCallsAndRefusedInputsWriteNothing) {
    TempDir dir;
    const std::string list = DvbRecord().name("A").freqMHz(11766).bytes();
    dir.write("a.dvb", list);
    dir.write("short.dvb", std::string(63, 'x'));
    dir.write("list.xyz", list);
    dir.write("in.bin", "data");
    dir.write("s.g98", "");
    dir.write("fw.bin", std::string(1000, '\x5A'));
    dir.write("r.sbr", std::string(1716, '\x01'));
    dir.write("a.fos", std::string(4096, '\x01'));
    dir.write("a.oc1", std::string(8192, '\x01'));
    dir.write("a.oc2", std::string(3190, '\x01'));
    dir.write("notes.txt", "not a picture");
    dir.write("s.xml", "<satellites><sat position=\"192\"/></satellites>");
    std::filesystem::create_directory(dir.file("folder"));
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    const std::string bitmap = "File must be a 280x240 - 16 colours bitmap (";
    test::expectRefused(
        {
            {"", 1, "usage:\n"},
            {"frobnicate x", 1, "usage:\n"},
            {"--version dump", 1, "usage:\n"},
            {"dump", 1, "usage: qel-tool dump"},
            {"dump short.dvb", 2, "Wrong file lenght\n"},
            {"dump notes.txt", 2, "qel-tool: unsupported file type: notes.txt"},
            {"convert list.xyz out.dvb", 2, "qel-tool: unsupported file type: list.xyz"},
            {"convert a.dvb out.g98", 1, "qel-tool: cannot convert a.dvb to out.g98"},
            {"convert notes.txt out.bmp", 2, bitmap},
            {"sample out.txt", 1, "qel-tool: unsupported file type: out.txt"},
            {"export a.dvb out.txt --format csv", 1, "qel-tool export: --format takes"},
            {"export a.dvb out.txt --columns ids,foo", 1, "qel-tool export: unknown column"},
            {"export a.dvb out.txt --format", 1, "qel-tool export: --format needs a value"},
            {"export a.dvb out.txt --utf8=yes", 1, "qel-tool export: --utf8 takes no value"},
            {"export a.dvb out.xyz", 1, "qel-tool: the export writes OUT.txt or OUT.pdf"},
            {"export list.xyz out.txt", 2, "qel-tool: unsupported file type: list.xyz"},
            {"sort a.dvb out.dvb", 1, "qel-tool sort: --by is missing"},
            {"sort a.dvb out.dvb more.dvb --by name", 1, "usage: qel-tool sort"},
            {"sort missing.dvb out.dvb --by name", 2, "qel-tool: missing.dvb: "},
            {"reorder a.dvb out.dvb", 1, "usage: qel-tool reorder"},
            {"reorder a.dvb a.dvb out.dvb --rest first", 1, "qel-tool reorder: --rest takes"},
            {"reorder missing.dvb a.dvb out.dvb", 2, "qel-tool: missing.dvb: "},
            {"reorder a.dvb in.bin out.dvb", 2, "qel-tool: in.bin: Wrong file lenght"},
            {"reorder a.dvb missing.lst out.dvb", 2, "qel-tool: missing.lst: "},
            {"diff a.dvb a.dvb --take-over=o.dvb --take-over o.dvb", 1, "qel-tool diff: --take"},
            {"diff a.dvb list.xyz", 2, "qel-tool: unsupported file type: list.xyz"},
            {"diff a.dvb a.dvb --take-over no/such/folder/out.dvb", 2, "no/such/folder/out.dvb: "},
            {"check s.g98", 2, "qel-tool: not a channel file: s.g98"},
            {"check --lang it --settings none.g98 a.dvb", 2, "qel-tool: none.g98: "},
            {"check a.dvb --font=none.fos", 2, "qel-tool: none.fos: "},
            {"check a.dvb --sat A=19.2E", 1, "qel-tool check: --satellites and --sat go"},
            {"check a.dvb --satellites s.xml", 1, "qel-tool check: --satellites and --sat go"},
            {"check a.dvb --satellites s.xml --sat A=19.2X", 1, "qel-tool check: not HEADER="},
            {"check a.dvb --satellites s.xml --sat port:5=19.2E", 1, "qel-tool check: not HEADER"},
            {"check a.dvb --satellites s.xml --sat ant:0=19.2E", 1, "qel-tool check: not HEADER"},
            {"check a.dvb --satellites s.xml --satellites s.xml --sat A=1", 1,
             "qel-tool check: --satellites is given twice"},
            {"check a.dvb --satellites s.xml --sat A=13E", 2,
             "qel-tool: s.xml: no satellite at 13.0E"},
            {"check a.dvb --satellites notes.txt --sat A=1", 2,
             "qel-tool: notes.txt: The file is not a satellites.xml"},
            {"fill-transponders a.dvb s.xml o.bin --antenna 1", 1,
             "qel-tool fill-transponders: --position takes"},
            {"fill-transponders a.dvb s.xml o.bin --position 19.2E --antenna 9", 1,
             "qel-tool fill-transponders: --antenna takes 1 to 8"},
            {"fill-transponders a.dvb s.xml o.dvb --position 19.2E --antenna 1", 1,
             "qel-tool: unsupported file type: o.dvb"},
            {"fill-transponders a.dvb s.xml o.bin --position 19.2E --antenna 1", 2,
             "qel-tool: a.dvb: not an FTA image"},
            {"lzw missing.bin out.Z", 2, "Cannot open the file"},
            {"lzw --blocks folder out.Z", 2, "Cannot open the file"},
            {"lzw in.bin no-such-folder/out.Z", 2, ""},
            {"download P --timeout-ms 1000000", 1, "qel-tool download: --timeout-ms takes 1 to"},
            {"upload P", 1, "qel-tool upload: nothing to upload"},
            {"upload P --set 1", 1, "qel-tool upload: nothing to upload"},
            {"upload P --system-font a.fos --set 2", 1, "qel-tool upload: --set names a set"},
            {"upload P --system-font a.oc2", 2, "qel-tool: unsupported file type: a.oc2\n"},
            {"upload P --teletext-font a.fos", 2, "qel-tool: unsupported file type: a.fos\n"},
            {"upload P --system-font=a.oc1 --set=2", 2, "Error on COM (port: "},
            {"picture P notes.txt", 2, bitmap},
            {"firmware P", 1, "usage: qel-tool firmware"},
            {"firmware P fw.bin --timeout-ms 0", 1, "qel-tool firmware: --timeout-ms takes"},
            // Windows's per-user folder is %APPDATA%, which Wine sets itself.
            {"firmware P fw.bin", 2,
             "The flash routine \"rodflash.sbr\" was not found. Looked in:\n" +
                 (test::toolUnderWine() ? std::string() : dir.file("data") + "/QEL/QEL\n")},
            // Options anywhere after the command.
            {"firmware --erase-all --routine r.sbr P fw.bin", 2, "Error on COM (port: "},
        },
        dir);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("out")) << entry.path();
    }
    EXPECT_EQ(TempDir::read(dir.file("a.dvb")), list);
}

}  // namespace
}  // namespace qel
