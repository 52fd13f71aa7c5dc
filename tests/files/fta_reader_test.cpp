#include "files/fta_reader.h"

#include <gtest/gtest.h>

#include "bytes/conversions.h"
#include "files/fta_image_layout.h"
#include "support/fta_image_builder.h"

namespace qel {
namespace {

using test::bytes;
using test::channelEntry;
using test::FtaImage;
using test::rec;
using test::word16;

class RecordingLog : public DebugLog {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

FtaImageTables read(const std::string& image, DebugLog* log = nullptr) {
    auto t = readFtaImage(image, log);
    EXPECT_TRUE(t.ok());
    return t.ok() ? std::move(t.value()) : FtaImageTables{};
}

std::string name(const ChannelRec& r) {
    return std::string(trimBlanks(r.ChName.view()));
}

TEST(FtaReader, AnErasedImageHoldsNothing) {
    const FtaImageTables t = read(std::string(49152, '\xFF'));
    EXPECT_TRUE(t.transponders.empty());
    EXPECT_TRUE(t.others.empty());
    EXPECT_EQ(t.screenFormat, "    ");
    EXPECT_TRUE(t.antennas[0].empty());
    const auto lists = channelListsOf(t);
    EXPECT_TRUE(lists.tv.empty() && lists.radio.empty());
}

TEST(FtaReader, WithoutTheMainMarkerTheImageIsEmpty) {
    const FtaImageTables t =
        read(FtaImage().add(0x87AA, channelEntry("A", 1, 2, 3, 4)).withoutMainMarker().build());
    EXPECT_TRUE(t.tvNames[0].empty());
}

TEST(FtaReader, ChannelEntriesWithOddAndEvenNames) {
    const std::string entries = channelEntry("ABC", 0x013E, 0x0C1C, 0x0D49, 0x0007) +
                                channelEntry("RAI 1", 1, 2, 3, 4) +
                                channelEntry("TWELVECHARS!", 5, 6, 7, 8);
    const FtaImageTables t =
        read(FtaImage().add(0x87AA, entries).add(0x87BF, channelEntry("R", 9, 9, 9, 9)).build());
    EXPECT_EQ(t.tvNames[0], "0300013E0C1C0D490007ABC");  // the pad byte is not part of the name
    EXPECT_EQ(t.tvNames[1], "05000001000200030004RAI 1");
    EXPECT_EQ(t.tvNames[2], "0C000005000600070008TWELVECHARS!");
    EXPECT_TRUE(t.tvNames[3].empty());
    EXPECT_EQ(t.radioNames[0], "01000009000900090009R");

    const auto lists = channelListsOf(t);
    ASSERT_EQ(lists.tv.size(), 3u);
    EXPECT_EQ(lists.tv[0].ChName.view(), "ABC                 ");
    EXPECT_EQ(lists.tv[0].NetId.view(), "013E");
    EXPECT_EQ(lists.tv[0].TsId.view(), "0C1C");
    EXPECT_EQ(lists.tv[0].SerId.view(), "0D49");
    EXPECT_EQ(lists.tv[0].TrId.view(), "0007");
    ASSERT_EQ(lists.radio.size(), 1u);
}

TEST(FtaReader, BlocksPlaceEntriesBy48) {
    std::string block0;
    for (int i = 0; i < 48; ++i)
        block0 += channelEntry("C" + std::to_string(i), 1, 1, i, 0);
    const FtaImageTables t = read(
        FtaImage().add(0x87AB, channelEntry("SECOND", 1, 1, 99, 0)).add(0x87AA, block0).build());
    EXPECT_EQ(fta::entry::kName.in(t.tvNames[47]), "C47");
    EXPECT_EQ(fta::entry::kName.in(t.tvNames[48]), "SECOND");
    const auto lists = channelListsOf(t);
    ASSERT_EQ(lists.tv.size(), 49u);
    EXPECT_EQ(name(lists.tv[48]), "SECOND");
}

TEST(FtaReader, MissingTransponderAndPids) {
    const auto lists =
        channelListsOf(read(FtaImage().add(0x87AA, channelEntry("LOST", 7, 7, 7, 0)).build()));
    ASSERT_EQ(lists.tv.size(), 1u);
    const ChannelRec& r = lists.tv[0];
    EXPECT_EQ(r.Freq.view(), "NO TS   ");
    EXPECT_EQ(r.VPid.view(), "0000");
    EXPECT_EQ(r.PmtPid.view(), "0000");
    EXPECT_EQ(r.ServType.view(), "00");
    // fields the image does not hold keep code 0.
    EXPECT_EQ(r.Sat.view(), std::string(3, '\0'));
    EXPECT_EQ(r.Srate.view(), std::string(6, '\0'));
    EXPECT_EQ(r.Parental.view(), std::string(1, '\0'));
    EXPECT_EQ(r.MatchKey.view(), std::string(52, '\0'));
}

TEST(FtaReader, TranspondersOfBothLayoutsAndPidsJoinTheChannels) {
    const FtaImageTables t =
        read(FtaImage()
                 .add(0x87AA, channelEntry("TUNED", 0x013E, 0x0C1C, 5, 0) +
                                  channelEntry("SHARED", 0x013E, 0x0C1C, 6, 0) +
                                  channelEntry("UNTUNED", 0x0002, 0x0003, 7, 0))
                 .add(0x9001, test::tunedTransponder(0x013E, 0x0C1C, 0x0030, 0x0088, "01176600",
                                                     "013", 1, 1, "275000", 3))
                 .add(0x9002, test::untunedTransponder(0x0002, 0x0003, 950, 0x25, "220000"))
                 .add(0x9001, test::tunedTransponder(0x013E, 0x0C1C, 0, 0, "01000000", "000", 0, 0,
                                                     "000000", 0))  // a later duplicate
                 .add(0x9000, word16(3))
                 .add(0x9501, test::pidValue(0x013E, 0x0C1C, 5, 0x200, 0x201, 0x202))
                 .add(0x9500, word16(1))
                 .build());
    ASSERT_EQ(t.transponders.size(), 4u);
    EXPECT_EQ(t.transponders[3], "900000020003");
    ASSERT_EQ(t.pids.size(), 2u);

    const auto lists = channelListsOf(t);
    ASSERT_EQ(lists.tv.size(), 3u);
    const ChannelRec& tuned = lists.tv[0];
    EXPECT_EQ(tuned.Freq.view(), "01176600");
    EXPECT_EQ(tuned.Sat.view(), "013");
    EXPECT_EQ(tuned.LoHi.view(), "1");
    EXPECT_EQ(tuned.Pol.view(), "1");
    EXPECT_EQ(tuned.Srate.view(), "275000");
    EXPECT_EQ(tuned.Fec.view(), "3");
    EXPECT_EQ(tuned.Ant.view(), "0030");
    EXPECT_EQ(tuned.AntAux.view(), "0088");
    EXPECT_EQ(tuned.VPid.view(), "0200");
    EXPECT_EQ(tuned.APid.view(), "0201");
    EXPECT_EQ(tuned.PPid.view(), "0202");

    const ChannelRec& shared = lists.tv[1];  // same transponder, no PID record of its own
    EXPECT_EQ(shared.Freq.view(), "01176600");
    EXPECT_EQ(shared.VPid.view(), "0000");

    const ChannelRec& untuned = lists.tv[2];
    EXPECT_EQ(untuned.Freq.view(), "00095025");  // whole MHz as a number, then the fraction digits
    EXPECT_EQ(untuned.LoHi.view(), "0");
    EXPECT_EQ(untuned.Pol.view(), "0");
    EXPECT_EQ(untuned.Srate.view(), "220000");
    EXPECT_EQ(untuned.Ant.view(), "0000");
    EXPECT_EQ(untuned.AntAux.view(), "0004");
}

TEST(FtaReader, SettingsRecordsAntennasTagAndCounts) {
    std::string names;
    std::string oscillators;
    for (int i = 0; i < 8; ++i) {
        std::string n = "ANT" + std::to_string(i);
        n.resize(8, '\0');
        names += n;
        oscillators += bytes("00002616000029684400");
    }
    for (bool namesFirst : {true, false}) {
        FtaImage img;
        if (namesFirst) img.add(0xE505, names);
        img.add(0x8610, oscillators);
        if (!namesFirst) img.add(0xE505, names);
        img.add(0xE501, bytes("0000000100000000001800002468"))
            .add(0x8602, std::string(1, '\x01'))
            .add(0x8603, std::string(1, '\x00'))
            .add(0x9999, "QEL" + std::string(1, '\0'))
            .add(0x8702, bytes("0005") + word16(40))
            .add(0x8703, bytes("0005") + word16(12));
        const FtaImageTables t = read(img.build());
        EXPECT_EQ(t.antennas[0], "00002616000029684400ANT0" + std::string(4, '\0'));
        EXPECT_EQ(t.antennas[7], "00002616000029684400ANT7" + std::string(4, '\0'));
        EXPECT_EQ(t.settingsRecord, "E501000E0000000100000000001800002468");
        EXPECT_EQ(t.screenFormat, "01000000");
        EXPECT_TRUE(t.imageTagged);
        EXPECT_EQ(t.tvCount, 40);
        EXPECT_EQ(t.radioCount, 12);
        EXPECT_TRUE(t.others.empty());
    }
}

TEST(FtaReader, ForeignTagIsSkippedUnlogged) {
    RecordingLog log;
    const FtaImageTables t =
        read(FtaImage().add(0x9999, "XYZ" + std::string(1, '\0')).add(0x1234, "ab").build(), &log);
    EXPECT_FALSE(t.imageTagged);
    ASSERT_EQ(t.others.size(), 1u);  // only the unknown record
    EXPECT_EQ(t.others[0], "123400026162");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "1234 0002 6162");
}

TEST(FtaReader, DroppedRecordsAreLoggedOnly) {
    RecordingLog log;
    const FtaImageTables t = read(FtaImage()
                                      .add(0x0000, "zz")
                                      .add(0x870A, bytes("0102"))
                                      .add(0x8783, bytes("3232"))
                                      .add(0x9999, "QEL" + std::string(1, '\0'))
                                      .build(),
                                  &log);
    EXPECT_TRUE(t.others.empty());
    ASSERT_EQ(log.lines.size(), 4u);
    EXPECT_EQ(log.lines[1], "870A 0002 0102");
    EXPECT_EQ(log.lines[3], "9999 0004 5145 4C00");
}

TEST(FtaReader, AreasAreReadOnlyWhenMarked) {
    const auto entry = channelEntry("B", 1, 1, 1, 0);
    EXPECT_EQ(fta::entry::kName.in(read(FtaImage().add(0x87AB, entry, 1).build()).tvNames[48]),
              "B");
    EXPECT_TRUE(
        read(FtaImage().add(0x87AB, entry, 1).marked(1, false).build()).tvNames[48].empty());
    EXPECT_EQ(fta::entry::kName.in(read(FtaImage().add(0x87AC, entry, 2).build()).tvNames[96]),
              "B");
    // Area A unmarked, B marked: B is still read.
    EXPECT_EQ(fta::entry::kName.in(
                  read(FtaImage().add(0x87AC, entry, 1).marked(0, false).build()).tvNames[96]),
              "B");
}

TEST(FtaReader, DamagedImagesStayInsideTheirBounds) {
    struct Case {
        const char* what;
        FtaImage image;
        std::size_t tvChannels;
    };
    // A record whose length runs past area A into its marker words.
    std::string runaway = word16(0x87AB) + word16(0x2000);
    // An area filled to its end with records and no 0xFFFF end: 8188 bytes of 4-byte records.
    std::string full;
    while (full.size() < 8188)
        full += rec(0x4444, "");
    // A name whose length runs past its record: the entry keeps the bytes that are there.
    std::string longName = channelEntry("OK", 1, 1, 1, 0) + '\x40' + std::string(9, '\0') + "SHORT";
    // More entries than a block holds go on in the following indices.
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += channelEntry("M", 1, 1, i, 0);

    const Case cases[] = {
        {"record past its area", FtaImage().add(0x87AA, channelEntry("A", 1, 1, 1, 0)).add(runaway),
         1},
        {"area without end mark",
         FtaImage().add(full).add(0x87AA, channelEntry("B", 1, 1, 1, 0), 1), 1},
        {"name past its record", FtaImage().add(0x87AA, longName), 2},
        {"short entry head", FtaImage().add(0x87AA, channelEntry("A", 1, 1, 1, 0) + "xyz"), 1},
        {"more entries than a block", FtaImage().add(0x87AA, many), 60},
    };
    for (const auto& c : cases) {
        const FtaImageTables t = read(c.image.build());
        EXPECT_EQ(channelListsOf(t).tv.size(), c.tvChannels) << c.what;
    }
    // Entries that would go past the table's end are dropped: block 20 starts at 960.
    std::string block20;
    for (int i = 0; i < 600; ++i)
        block20 += channelEntry("", 1, 1, i, 0);
    const FtaImageTables t = read(FtaImage().add(0x87BE, block20).build());
    EXPECT_FALSE(t.tvNames[1499].empty());
    EXPECT_EQ(t.tvNames.size(), kNameTableSize);
}

TEST(FtaReader, ADamagedEntryLosesNoLaterChannel) {
    // Two full blocks; in the first, the last entry's name length is damaged to run past the
    // record. Every channel still loads, the damaged one with the name bytes that are there.
    std::string first;
    std::string second;
    for (int i = 0; i < 48; ++i) {
        first += channelEntry("TV" + std::to_string(i), 1, 1, i, 0);
        second += channelEntry("LATER" + std::to_string(i), 1, 1, 48 + i, 0);
    }
    const std::size_t lastEntry = first.rfind(channelEntry("TV47", 1, 1, 47, 0));
    first[lastEntry] = '\x7F';
    const TvRadioLists lists =
        channelListsOf(read(FtaImage().add(0x87AA, first).add(0x87AB, second).build()));
    ASSERT_EQ(lists.tv.size(), 96u);
    EXPECT_EQ(lists.tv[47].ChName.view().substr(0, 4), "TV47");
    EXPECT_EQ(lists.tv[95].ChName.view().substr(0, 7), "LATER47");
}

}  // namespace
}  // namespace qel
