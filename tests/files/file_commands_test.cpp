#include "files/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "model/workspace.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "support/workspace_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::names;
using test::setBuffer;
using test::setLists;
using test::TempDir;

// Reads a channel file into the document, as loading it does.
Status load(Workspace& ws, const std::string& path) {
    auto set = readChannelFile(path);
    if (!set) return set.status();
    ws.installChannels(std::move(set.value()));
    return {};
}

std::string loadedSettings() {
    return "4456534F" + std::string(kSettingsImageLength - 8, 'A');
}

TEST(SaveFile, ChannelLimitCountsBothLists) {
    TempDir dir;
    // (TV, RADIO) -> saved?
    const std::tuple<std::size_t, std::size_t, bool> cases[] = {
        {3071, 0, true}, {3000, 71, true}, {3072, 0, false}, {1, 3071, false}, {0, 0, true},
    };
    for (auto [tv, radio, saved] : cases) {
        Workspace ws;
        setLists(ws, ChannelList(tv, Channel("T")), ChannelList(radio, Channel("R")));
        ws.setChannelsModified(true);
        const auto path = dir.write("list.dvb", "previous");
        Status st = saveFile(ws, path);
        EXPECT_EQ(st.ok(), saved) << tv << "+" << radio;
        if (saved) {
            EXPECT_EQ(std::filesystem::file_size(path), (tv + radio) * 64);
            EXPECT_FALSE(ws.channelsModified());
        } else {
            EXPECT_EQ(st.error(), ErrorCode::TooManyChannelsDvb);
            EXPECT_EQ(TempDir::read(path), "previous");
            EXPECT_TRUE(ws.channelsModified()) << "a refused save must not lose the unsaved mark";
        }
    }
}

TEST(SaveFile, SettingsTargetNeedsLoadedSettings) {
    TempDir dir;
    Workspace ws;
    setLists(ws, {Channel("A")});
    ws.setSettingsModified(true);
    const auto path = dir.file("s.g98");
    EXPECT_EQ(saveFile(ws, path).error(), ErrorCode::NoDvb98Settings);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(ws.settingsModified());

    ws.installSettings(loadedSettings());
    ASSERT_TRUE(saveFile(ws, path).ok());
    EXPECT_EQ(std::filesystem::file_size(path), kG98FileSize);
}

ChannelRec tuned(std::string_view name, std::string_view freq) {
    return Channel(name).Freq(freq).SerId("0001").withMatchKey();
}

TEST(CollectUpgrade, NewChannelsUnderHeaders) {
    const ChannelRec a = tuned("A", "01100000"), b = tuned("B", "01200000");
    const ChannelRec c = tuned("C", "01300000"), r1 = tuned("R1", "01400000");
    const ChannelRec renamed = Channel(a).name("A RENAMED");  // same key: not new
    const ChannelList out = collectUpgrade({a, b}, {r1}, {renamed, c, b}, {r1, a});
    EXPECT_EQ(names(out), "TV CHANNEL (UPG),C,RADIO CHANNELS (UPG),A");
    EXPECT_EQ(out[0].Freq.view(), "00000000");
    EXPECT_EQ(out[0].MatchKey.view(), std::string(52, ' '));
}

TEST(CollectUpgrade, SeparatorsAreTakenAndRunsCollapse) {
    const ChannelRec a = tuned("A", "01100000"), b = tuned("B", "01200000");
    const ChannelRec s1 = Channel("--- HOTBIRD").withMatchKey();
    const ChannelRec s2 = Channel("--- ASTRA").withMatchKey();
    const ChannelRec s3 = Channel("--- EUTELSAT").withMatchKey();
    const ChannelRec zero =
        Channel("ZERO").SerId("0009").withMatchKey();  // frequency 0, no separator
    struct Case {
        ChannelList loadedTv, tvUpg, radioUpg;
        std::string expected;
    };
    const Case cases[] = {
        // Identical file: the headers and the separators that survive the collapse.
        {{s1, a, s2, b}, {s1, a, s2, b}, {}, "TV CHANNEL (UPG),RADIO CHANNELS (UPG)"},
        {{}, {s1, a, s2, b}, {}, "TV CHANNEL (UPG),--- HOTBIRD,A,--- ASTRA,B,RADIO CHANNELS (UPG)"},
        {{}, {s1, s2, s3, a}, {}, "TV CHANNEL (UPG),--- EUTELSAT,A,RADIO CHANNELS (UPG)"},
        {{}, {a}, {s1, s2}, "TV CHANNEL (UPG),A,RADIO CHANNELS (UPG),--- ASTRA"},
        {{}, {a, zero, s1, b}, {}, "TV CHANNEL (UPG),A,--- HOTBIRD,B,RADIO CHANNELS (UPG)"},
        {{a}, {a}, {s1, b}, "TV CHANNEL (UPG),RADIO CHANNELS (UPG),--- HOTBIRD,B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(names(collectUpgrade(c.loadedTv, {}, c.tvUpg, c.radioUpg)), c.expected);
    }
}

TEST(UpgradeFromFile, AppendsToTheBufferAndLeavesTheListsAlone) {
    TempDir dir;
    const std::string loaded = test::DvbRecord().freqMHz(11000).name("A").bytes() +
                               test::DvbRecord().freqMHz(12000).name("B").bytes();
    const std::string other = loaded + test::DvbRecord().freqMHz(12100).name("C").bytes() +
                              test::DvbRecord().freqMHz(12100).type(2).name("R").bytes();
    Workspace ws;
    ASSERT_TRUE(load(ws, dir.write("loaded.dvb", loaded)).ok());
    setBuffer(ws, {Channel("KEPT")});
    ASSERT_TRUE(upgradeFromFile(ws, dir.write("other.dvb", other)).ok());
    EXPECT_EQ(names(ws.bufferList()), "KEPT,TV CHANNEL (UPG),C,RADIO CHANNELS (UPG),R");
    EXPECT_EQ(names(ws.tvList()), "A,B");
    EXPECT_TRUE(ws.channelsModified());
    EXPECT_EQ(ws.fileType(), FileKind::DVB);

    Workspace none;
    ASSERT_TRUE(upgradeFromFile(none, dir.file("other.dvb")).ok());
    EXPECT_TRUE(none.bufferList().empty());  // nothing loaded: nothing to compare with
    EXPECT_FALSE(none.channelsModified());

    const std::size_t before = ws.bufferList().size();
    EXPECT_EQ(upgradeFromFile(ws, dir.write("bad.dvb", "x")).error(), ErrorCode::WrongFileLength);
    EXPECT_EQ(ws.bufferList().size(), before);
}

TEST(ConvertToBin, WritesBesideTheListWithDefaultsAndKeepsItUnsaved) {
    TempDir dir;
    Workspace ws;
    ASSERT_TRUE(
        load(ws, dir.write("list.dvb", test::DvbRecord().name("A").freqMHz(11766).bytes())).ok());
    ws.setChannelsModified(true);
    auto target = convertToBin(ws, dir.file("list.dvb"));
    ASSERT_TRUE(target.ok());
    EXPECT_EQ(*target, dir.file("list.bin"));
    EXPECT_EQ(std::filesystem::file_size(*target), 49152u);
    EXPECT_TRUE(ws.channelsModified());  // the .dvb itself is still unsaved
    EXPECT_EQ(ws.fileType(), FileKind::DVB);
    EXPECT_EQ(ws.tvList()[0].LoHi.view(), "1");  // the writer's changes reach the list

    EXPECT_EQ(convertedName("Download"), "Down.bin");
    setLists(ws, ChannelList(1009, Channel("T")));
    EXPECT_EQ(convertToBin(ws, dir.file("big.dvb")).error(), ErrorCode::TooManyChannelsFta);
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.bin")));
    EXPECT_EQ(ws.tvList().size(), 1009u);  // a refused image leaves the lists as they were
}

}  // namespace
}  // namespace qel
