#include "model/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/conversions.h"
#include "model/dvb_file.h"
#include "model/g98_file.h"
#include "model/workspace.h"
#include "serial/checksum.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::Channel;
using test::TempDir;

std::string Names(const ChannelList& list) {
    std::string s;
    for (const auto& r : list) {
        if (!s.empty()) s += ',';
        s += TrimBlanks(r.ChName.view());
    }
    return s;
}

TEST(FileExtension3, UpperCasedLastThree) {
    EXPECT_EQ(FileExtension3("/a/b/list.dvb"), "DVB");
    EXPECT_EQ(FileExtension3("x.Bin"), "BIN");
    EXPECT_EQ(FileExtension3("ab"), "AB");
}

TEST(LoadChannels, OnlyKnownExtensions) {
    TempDir dir;
    Workspace ws;
    ws.TVList.push_back(Channel("OLD"));
    const std::string rec = test::DvbRecord().Name("NEW");
    EXPECT_EQ(LoadChannels(ws, dir.Write("list.txt", rec)).error(), ErrorCode::UnsupportedFileType);
    EXPECT_EQ(Names(ws.TVList), "OLD");
    ASSERT_TRUE(LoadChannels(ws, dir.Write("LIST.DVB", rec)).ok());
    EXPECT_EQ(Names(ws.TVList), "NEW");
}

TEST(SaveFile, ChannelLimitCountsBothLists) {
    TempDir dir;
    // (TV, RADIO) -> saved?
    const std::tuple<std::size_t, std::size_t, bool> cases[] = {
        {3071, 0, true}, {3000, 71, true}, {3072, 0, false}, {1, 3071, false}, {0, 0, true},
    };
    for (auto [tv, radio, saved] : cases) {
        Workspace ws;
        ws.TVList.assign(tv, Channel("T"));
        ws.RadioList.assign(radio, Channel("R"));
        ws.ChannelsModified = true;
        const auto path = dir.Write("list.dvb", "previous");
        Status st = Save_File(ws, path);
        EXPECT_EQ(st.ok(), saved) << tv << "+" << radio;
        if (saved) {
            EXPECT_EQ(std::filesystem::file_size(path), (tv + radio) * 64);
            EXPECT_FALSE(ws.ChannelsModified);
        } else {
            EXPECT_EQ(st.error(), ErrorCode::TooManyChannelsDvb);
            EXPECT_EQ(TempDir::Read(path), "previous");
            EXPECT_TRUE(ws.ChannelsModified) << "a refused save must not lose the unsaved mark";
        }
    }
}

TEST(SaveFile, SettingsTargetNeedsLoadedSettings) {
    TempDir dir;
    Workspace ws;
    ws.TVList.push_back(Channel("A"));
    ws.SettingsModified = true;
    const auto path = dir.File("s.g98");
    EXPECT_EQ(Save_File(ws, path).error(), ErrorCode::NoDvb98Settings);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(ws.SettingsModified);

    ws.DVB98Settings = "4456534F" + std::string(kSettingsImageLength - 8, 'A');
    ws.ChannelsModified = true;
    ASSERT_TRUE(Save_File(ws, path).ok());
    const std::string file = TempDir::Read(path);
    ASSERT_EQ(file.size(), kG98FileSize);
    EXPECT_EQ(file.substr(0, 4), "DVSO");
    EXPECT_EQ(static_cast<unsigned char>(file[1264]), CheckSum(file.substr(0, 1264)));
    EXPECT_FALSE(ws.SettingsModified);
    EXPECT_TRUE(ws.ChannelsModified);  // only the settings were saved
}

TEST(SaveFile, UnwritableTargetKeepsTheModifiedMark) {
    Workspace ws;
    ws.TVList.push_back(Channel("A"));
    ws.ChannelsModified = true;
    EXPECT_EQ(Save_File(ws, "/nonexistent-folder-qel/list.dvb").error(),
              ErrorCode::CannotWriteFile);
    EXPECT_TRUE(ws.ChannelsModified);
}

ChannelRec Tuned(std::string_view name, std::string_view freq) {
    return Channel(name).Freq(freq).SerId("0001").WithMatchKey();
}
ChannelRec Separator(std::string_view name) {
    return Channel(name).WithMatchKey();
}

TEST(CollectUpgrade, NewChannelsUnderHeaders) {
    const ChannelRec a = Tuned("A", "01100000"), b = Tuned("B", "01200000");
    const ChannelRec c = Tuned("C", "01300000"), r1 = Tuned("R1", "01400000");
    const ChannelRec renamed = Channel(a).Name("A RENAMED");  // same key: not new
    const ChannelList out = CollectUpgrade({a, b}, {r1}, {renamed, c, b}, {r1, a});
    EXPECT_EQ(Names(out), "TV CHANNEL (UPG),C,RADIO CHANNELS (UPG),A");
    EXPECT_EQ(out[0].Freq.view(), "00000000");
    EXPECT_EQ(out[0].MatchKey.view(), std::string(52, ' '));
}

TEST(CollectUpgrade, SeparatorsAreTakenAndRunsCollapse) {
    const ChannelRec a = Tuned("A", "01100000"), b = Tuned("B", "01200000");
    const ChannelRec s1 = Separator("--- HOTBIRD"), s2 = Separator("--- ASTRA");
    const ChannelRec s3 = Separator("--- EUTELSAT");
    const ChannelRec zero =
        Channel("ZERO").SerId("0009").WithMatchKey();  // frequency 0, no separator
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
        EXPECT_EQ(Names(CollectUpgrade(c.loadedTv, {}, c.tvUpg, c.radioUpg)), c.expected);
    }
}

TEST(UpgradeFromFile, AppendsToTheBufferAndLeavesTheListsAlone) {
    TempDir dir;
    const std::string loaded = test::DvbRecord().FreqMHz(11000).Name("A").bytes() +
                               test::DvbRecord().FreqMHz(12000).Name("B").bytes();
    const std::string other = loaded + test::DvbRecord().FreqMHz(12100).Name("C").bytes() +
                              test::DvbRecord().FreqMHz(12100).Type(2).Name("R").bytes();
    Workspace ws;
    ASSERT_TRUE(LoadChannels(ws, dir.Write("loaded.dvb", loaded)).ok());
    ws.BufferList.push_back(Channel("KEPT"));
    ASSERT_TRUE(UpgradeFromFile(ws, dir.Write("other.dvb", other)).ok());
    EXPECT_EQ(Names(ws.BufferList), "KEPT,TV CHANNEL (UPG),C,RADIO CHANNELS (UPG),R");
    EXPECT_EQ(Names(ws.TVList), "A,B");
    EXPECT_TRUE(ws.ChannelsModified);
    EXPECT_EQ(ws.FileType, FileKind::DVB);

    Workspace none;
    ASSERT_TRUE(UpgradeFromFile(none, dir.File("other.dvb")).ok());
    EXPECT_TRUE(none.BufferList.empty());  // nothing loaded: nothing to compare with
    EXPECT_FALSE(none.ChannelsModified);

    const std::size_t before = ws.BufferList.size();
    EXPECT_EQ(UpgradeFromFile(ws, dir.Write("bad.dvb", "x")).error(), ErrorCode::WrongFileLength);
    EXPECT_EQ(ws.BufferList.size(), before);
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

std::string ImageWithOneChannelEach() {
    return test::FtaImage()
        .Add(0x87AA, test::ChannelEntry("TV1", 1, 2, 3, 0))
        .Add(0x87BF, test::ChannelEntry("RADIO1", 1, 2, 4, 0))
        .Add(0x9001, test::TunedTransponder(1, 2, 0x0010, 8, "01176600", "013", 1, 0, "275000", 3))
        .Add(0x9000, test::W(1))
        .Add(0x4321, "keep")
        .Build();
}

TEST(LoadChannels, FtaImageReplacesListsAndUnloadsDvb98Settings) {
    TempDir dir;
    Workspace ws;
    ws.DVB98Settings.replace(0, 8, "4456534F");
    ws.ChannelsModified = true;
    ASSERT_TRUE(LoadChannels(ws, dir.Write("img.BIN", ImageWithOneChannelEach())).ok());
    EXPECT_EQ(ws.FileType, FileKind::BIN);
    EXPECT_FALSE(ws.ChannelsModified);
    EXPECT_FALSE(SettingsImageLoaded(ws.DVB98Settings));
    EXPECT_EQ(Names(ws.TVList), "TV1");
    EXPECT_EQ(Names(ws.RadioList), "RADIO1");
    EXPECT_EQ(ws.TVList[0].Freq.view(), "01176600");
    EXPECT_EQ(ws.ImageTables.Others.size(), 2u);
}

TEST(LoadChannels, RefusedImageChangesNothing) {
    TempDir dir;
    Workspace ws;
    ws.DVB98Settings.replace(0, 8, "4456534F");
    ws.TVList.push_back(Channel("OLD"));
    ws.ImageTables.Others.push_back("ABCD0000");
    for (std::size_t size : {49151u, 49153u, 100000u}) {
        const auto path = dir.Write("bad.bin", std::string(size, '\xFF'));
        EXPECT_EQ(LoadChannels(ws, path).error(), ErrorCode::WrongFileLength) << size;
        EXPECT_TRUE(SettingsImageLoaded(ws.DVB98Settings));
        EXPECT_EQ(Names(ws.TVList), "OLD");
        EXPECT_EQ(ws.ImageTables.Others.size(), 2u);
        EXPECT_EQ(ws.FileType, FileKind::None);
    }
}

TEST(SaveFile, ByFileTypeAndTargetName) {
    TempDir dir;
    const auto image = dir.Write("img.bin", ImageWithOneChannelEach());
    struct Case {
        const char* from;  // "bin" loads the image, "dvb" a DVB98 list
        const char* target;
        std::size_t size;  // written file size
        bool ownSettings;  // an image carrying the loaded image's other records
    };
    const Case cases[] = {
        {"bin", "out.bin", 49152, true},   {"bin", "out.BIN", 49152, true},
        {"bin", "out.dvb", 2 * 64, false},  // DVB98 records, not an image named .dvb
        {"bin", "out", 49152, true},       {"dvb", "out.dvb", 2 * 64, false},
        {"dvb", "out.bin", 49152, false},  // an image with the default settings
        {"dvb", "out", 2 * 64, false},
    };
    for (const auto& c : cases) {
        Workspace ws;
        if (std::string(c.from) == "bin") {
            ASSERT_TRUE(LoadChannels(ws, image).ok());
        } else {
            ws.TVList = {Channel("T").Freq("01100000")};
            ws.RadioList = {Channel("R").Freq("01100000")};
            ws.FileType = FileKind::DVB;
        }
        ws.ChannelsModified = true;
        const auto path = dir.File(c.target);
        ASSERT_TRUE(Save_File(ws, path).ok()) << c.from << " " << c.target;
        EXPECT_FALSE(ws.ChannelsModified);
        const std::string bytes = TempDir::Read(path);
        EXPECT_EQ(bytes.size(), c.size) << c.from << " " << c.target;
        if (bytes.size() == 49152) {
            Workspace back;
            ASSERT_TRUE(LoadChannels(back, dir.Write("back.bin", bytes)).ok());
            EXPECT_EQ(back.ImageTables.Others.size() == 2, c.ownSettings) << c.target;
            EXPECT_EQ(back.ChannelCount(), 2u);
        }
        std::filesystem::remove(path);
    }
}

TEST(DVB2Bin, WritesBesideTheListWithDefaultsAndKeepsItUnsaved) {
    TempDir dir;
    Workspace ws;
    ASSERT_TRUE(
        LoadChannels(ws, dir.Write("list.dvb", test::DvbRecord().Name("A").FreqMHz(11766).bytes()))
            .ok());
    ws.ChannelsModified = true;
    auto target = DVB2Bin(ws, dir.File("list.dvb"));
    ASSERT_TRUE(target.ok());
    EXPECT_EQ(*target, dir.File("list.bin"));
    EXPECT_EQ(std::filesystem::file_size(*target), 49152u);
    EXPECT_FALSE(ws.ConvertToBin);
    EXPECT_TRUE(ws.ChannelsModified);  // the .dvb itself is still unsaved
    EXPECT_EQ(ws.FileType, FileKind::DVB);
    EXPECT_EQ(ws.TVList[0].LoHi.view(), "1");  // the writer's changes reach the list

    EXPECT_EQ(ConvertedName("Download"), "Down.bin");
    ws.TVList.assign(1009, Channel("T"));
    EXPECT_EQ(DVB2Bin(ws, dir.File("big.dvb")).error(), ErrorCode::TooManyChannelsFta);
    EXPECT_FALSE(std::filesystem::exists(dir.File("big.bin")));
    EXPECT_FALSE(ws.ConvertToBin);
}

}  // namespace
}  // namespace qel
