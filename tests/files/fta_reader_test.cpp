#include "files/fta_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bytes/conversions.h"
#include "files/fta_image_layout.h"
#include "support/channel_fields.h"
#include "support/fta_image_builder.h"

namespace qel {
namespace {

using test::bytes;
using test::channelEntry;
using test::fieldsOf;
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

TEST(FtaReader, AnErasedImageOrOneWithoutTheMainMarkerHoldsNothing) {
    const FtaImageTables t = read(std::string(49152, '\xFF'));
    EXPECT_TRUE(t.transponders.empty() && t.others.empty() && t.antennas[0].empty());
    EXPECT_EQ(t.screenFormat, "    ");
    const auto lists = channelListsOf(t);
    EXPECT_TRUE(lists.tv.empty() && lists.radio.empty());
    EXPECT_TRUE(
        read(FtaImage().add(0x87AA, channelEntry("A", 1, 2, 3, 4)).withoutMainMarker().build())
            .tvNames[0]
            .empty());
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
    EXPECT_EQ(fieldsOf(lists.tv[0], "ChName NetId TsId SerId TrId"),
              "ABC                 |013E|0C1C|0D49|0007");
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
    EXPECT_EQ(lists.tv[48].ChName.view(), "SECOND              ");
}

TEST(FtaReader, MissingTransponderAndPids) {
    const auto lists =
        channelListsOf(read(FtaImage().add(0x87AA, channelEntry("LOST", 7, 7, 7, 0)).build()));
    ASSERT_EQ(lists.tv.size(), 1u);
    EXPECT_EQ(fieldsOf(lists.tv[0], "Freq VPid PmtPid ServType"), "NO TS   |0000|0000|00");
    // fields the image does not hold keep code 0.
    EXPECT_EQ(fieldsOf(lists.tv[0], "Sat Srate Parental MatchKey"),
              std::string(3, '\0') + "|" + std::string(6, '\0') + "|" + std::string(1, '\0') + "|" +
                  std::string(52, '\0'));
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
    const char* kFields = "Freq Sat LoHi Pol Srate Fec Ant AntAux VPid APid PPid";
    EXPECT_EQ(fieldsOf(lists.tv[0], kFields), "01176600|013|1|1|275000|3|0030|0088|0200|0201|0202");
    // The same transponder, no PID record of its own.
    EXPECT_EQ(fieldsOf(lists.tv[1], "Freq VPid"), "01176600|0000");
    // Whole MHz as a number, then the fraction digits.
    EXPECT_EQ(fieldsOf(lists.tv[2], "Freq LoHi Pol Srate Ant AntAux"),
              "00095025|0|0|220000|0000|0004");
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

TEST(FtaReader, ForeignTagsAndDroppedRecordsAreLoggedOnly) {
    RecordingLog log;
    FtaImageTables t =
        read(FtaImage().add(0x9999, "XYZ" + std::string(1, '\0')).add(0x1234, "ab").build(), &log);
    EXPECT_FALSE(t.imageTagged);
    ASSERT_EQ(t.others.size(), 1u);  // only the unknown record
    EXPECT_EQ(t.others[0], "123400026162");
    EXPECT_EQ(log.lines, std::vector<std::string>{"1234 0002 6162"});

    log.lines.clear();
    t = read(FtaImage()
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
    const auto nameAt = [](const FtaImage& img, std::size_t i) {
        return std::string(fta::entry::kName.in(read(img.build()).tvNames[i]));
    };
    EXPECT_EQ(nameAt(FtaImage().add(0x87AB, entry, 1), 48), "B");
    EXPECT_EQ(nameAt(FtaImage().add(0x87AB, entry, 1).marked(1, false), 48), "");
    EXPECT_EQ(nameAt(FtaImage().add(0x87AC, entry, 2), 96), "B");
    // Area A unmarked, B marked: B is still read.
    EXPECT_EQ(nameAt(FtaImage().add(0x87AC, entry, 1).marked(0, false), 96), "B");
}

TEST(FtaReader, DamagedImagesStayInsideTheirBoundsAndLoseNoLaterChannel) {
    // A record whose length runs past area A into its marker words.
    std::string runaway = word16(0x87AB) + word16(0x2000);
    // An area filled to its end with records and no 0xFFFF end: 8188 bytes of 4-byte records.
    std::string full;
    while (full.size() < 8188)
        full += rec(0x4444, "");
    // A name whose length runs past its record: the entry keeps the bytes that are there.
    std::string longName = channelEntry("OK", 1, 1, 1, 0) + '\x40' + std::string(9, '\0') + "SHORT";
    // More entries than a block holds go on in the following indices; two full blocks whose
    // first's last name length is damaged to run past the record lose no channel either.
    std::string many, first, second;
    for (int i = 0; i < 60; ++i)
        many += channelEntry("M", 1, 1, i, 0);
    for (int i = 0; i < 48; ++i) {
        first += channelEntry("TV" + std::to_string(i), 1, 1, i, 0);
        second += channelEntry("LATER" + std::to_string(i), 1, 1, 48 + i, 0);
    }
    first[first.rfind(channelEntry("TV47", 1, 1, 47, 0))] = '\x7F';
    const struct {
        const char* what;
        FtaImage image;
        std::size_t tvChannels;
        const char* last;  // the start of the last channel's name
    } cases[] = {
        {"record past its area", FtaImage().add(0x87AA, channelEntry("A", 1, 1, 1, 0)).add(runaway),
         1, "A"},
        {"area without end mark",
         FtaImage().add(full).add(0x87AA, channelEntry("B", 1, 1, 1, 0), 1), 1, "B"},
        {"name past its record", FtaImage().add(0x87AA, longName), 2, "SHORT"},
        {"short entry head", FtaImage().add(0x87AA, channelEntry("A", 1, 1, 1, 0) + "xyz"), 1, "A"},
        {"more entries than a block", FtaImage().add(0x87AA, many), 60, "M"},
        {"damaged entry", FtaImage().add(0x87AA, first).add(0x87AB, second), 96, "LATER47"},
    };
    for (const auto& c : cases) {
        const TvRadioLists lists = channelListsOf(read(c.image.build()));
        ASSERT_EQ(lists.tv.size(), c.tvChannels) << c.what;
        EXPECT_EQ(lists.tv.back().ChName.view().substr(0, std::strlen(c.last)), c.last) << c.what;
    }
    // Entries that would go past the table's end are dropped: block 20 starts at 960.
    std::string block20;
    for (int i = 0; i < 600; ++i)
        block20 += channelEntry("", 1, 1, i, 0);
    const FtaImageTables t = read(FtaImage().add(0x87BE, block20).build());
    EXPECT_FALSE(t.tvNames[1499].empty());
    EXPECT_EQ(t.tvNames.size(), kNameTableSize);
}

}  // namespace
}  // namespace qel
