// qel-tool sort: the lists of a channel file sorted, written in the file's own format.
#include <gtest/gtest.h>

#include <string>

#include "bytes/conversions.h"
#include "files/file_formats.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::runTool;
using test::TempDir;

std::string names(const ChannelList& list) {
    std::string s;
    for (const auto& ch : list) {
        if (&ch != &list.front()) s += ',';
        s += trimBlanks(ch.ChName.view());
    }
    return s;
}

// The lists of `path` read as a file of `format`, "TV|RADIO"; "refused" when it does not read.
std::string listsOf(const std::string& path, FileFormatId format) {
    auto set = fileFormat(format).readChannels(path, {});
    if (!set) return "refused";
    return names(set.value().lists.tv) + "|" + names(set.value().lists.radio);
}

// TV: a block before the first header, a header, a block; RADIO: two channels.
std::string sampleDvb() {
    return DvbRecord().name("Zeta").freqMHz(11000).SerId(5).TuneFlags(1).bytes() +
           DvbRecord().name("alpha").freqMHz(12000).SerId(2).bytes() +
           DvbRecord().name("Hotbird").freqMHz(0).bytes() +
           DvbRecord().name("Echo").freqMHz(10900).SerId(3).bytes() +
           DvbRecord().name("bravo").freqMHz(10800).SerId(0x10).bytes() +
           DvbRecord().type(2).name("Radio B").freqMHz(11500).bytes() +
           DvbRecord().type(2).name("radio a").freqMHz(11400).bytes();
}

// OUT is written in IN's format whatever it is called; IN stays as it was.
TEST(QelToolSort, SortsEachListInItsOwnFormat) {
    TempDir dir;
    const std::string in = dir.write("list.dvb", sampleDvb());
    ASSERT_EQ(runTool("convert list.dvb image.bin", dir).status, 0);
    ASSERT_EQ(runTool("convert list.dvb list.csv", dir).status, 0);
    struct Case {
        std::string args;
        FileFormatId format;  // of out
        std::string lists;
    };
    const Case cases[] = {
        {"list.dvb out --by name", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,bravo,Echo|radio a,Radio B"},
        {"list.dvb out --by=name --desc", FileFormatId::Dvb,
         "Zeta,alpha,Hotbird,Echo,bravo|Radio B,radio a"},
        {"list.dvb out --by name --across-headers", FileFormatId::Dvb,
         "alpha,bravo,Echo,Hotbird,Zeta|radio a,Radio B"},
        {"list.dvb out --by freq", FileFormatId::Dvb,
         "Zeta,alpha,Hotbird,bravo,Echo|radio a,Radio B"},
        {"list.dvb out --desc --by freq --across-headers", FileFormatId::Dvb,
         "alpha,Zeta,Echo,bravo,Hotbird|Radio B,radio a"},
        {"list.dvb out --by sid", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},
        {"list.dvb out --by sat", FileFormatId::Dvb,
         "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},  // Zeta: port 2
        {"image.bin out --by name --across-headers", FileFormatId::FtaImage,
         "alpha,bravo,Echo,Hotbird,Zeta|radio a,Radio B"},
        {"list.csv out --by name", FileFormatId::Csv,
         "alpha,Zeta,Hotbird,bravo,Echo|radio a,Radio B"},
    };
    for (const Case& c : cases) {
        const test::ToolRun run = runTool("sort " + c.args, dir);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(listsOf(dir.file("out"), c.format), c.lists) << c.args;
    }
    EXPECT_EQ(TempDir::read(in), sampleDvb());
}

}  // namespace
}  // namespace qel
