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

TEST(QelToolSort, SortsEachListInItsOwnFormat) {
    TempDir dir;
    const std::string in = dir.write("list.dvb", sampleDvb());
    struct Case {
        std::string options;
        std::string lists;
    };
    const Case cases[] = {
        {"--by name", "alpha,Zeta,Hotbird,bravo,Echo|radio a,Radio B"},
        {"--by=name --desc", "Zeta,alpha,Hotbird,Echo,bravo|Radio B,radio a"},
        {"--by name --across-headers", "alpha,bravo,Echo,Hotbird,Zeta|radio a,Radio B"},
        {"--by freq", "Zeta,alpha,Hotbird,bravo,Echo|radio a,Radio B"},
        {"--desc --by freq --across-headers", "alpha,Zeta,Echo,bravo,Hotbird|Radio B,radio a"},
        {"--by sid", "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},
        {"--by sat", "alpha,Zeta,Hotbird,Echo,bravo|Radio B,radio a"},  // Zeta: port 2
    };
    for (const Case& c : cases) {
        const std::string out = dir.file("out.dvb");
        const test::ToolRun run = runTool("sort '" + in + "' '" + out + "' " + c.options, dir);
        ASSERT_EQ(run.status, 0) << c.options << ": " << run.err;
        EXPECT_EQ(listsOf(out, FileFormatId::Dvb), c.lists) << c.options;
    }
    // The input stays as it was.
    EXPECT_EQ(TempDir::read(in), sampleDvb());
}

TEST(QelToolSort, WritesTheFormatOfTheInputWhateverTheOutputIsCalled) {
    TempDir dir;
    const std::string dvb = dir.write("list.dvb", sampleDvb());
    ASSERT_EQ(runTool("convert '" + dvb + "' image.bin", dir).status, 0);
    ASSERT_EQ(runTool("convert '" + dvb + "' list.csv", dir).status, 0);

    ASSERT_EQ(runTool("sort image.bin sorted.bin --by name --across-headers", dir).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("sorted.bin")).size(), 49152u);
    EXPECT_EQ(listsOf(dir.file("sorted.bin"), FileFormatId::FtaImage),
              "alpha,bravo,Echo,Hotbird,Zeta|radio a,Radio B");

    ASSERT_EQ(runTool("sort list.csv sorted.dvb --by name", dir).status, 0);
    EXPECT_EQ(listsOf(dir.file("sorted.dvb"), FileFormatId::Csv),
              "alpha,Zeta,Hotbird,bravo,Echo|radio a,Radio B");
}

}  // namespace
}  // namespace qel
