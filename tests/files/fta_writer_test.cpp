#include "files/fta_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bytes/conversions.h"
#include "files/fta_reader.h"
#include "support/channel_builder.h"
#include "support/channel_fields.h"
#include "support/fta_image_builder.h"

namespace qel {
namespace {

using test::bytes;
using test::Channel;
using test::fieldsOf;
using test::walkImage;
using test::withFields;
using test::word16;

ChannelRec tvChannel(std::string_view name, std::string_view net, std::string_view ts,
                     std::string_view freq = "01176600") {
    return withFields(Channel(name), "NetId TsId Freq SerId Srate Fec Sat Pol VPid APid PPid",
                      std::string(net) + "|" + std::string(ts) + "|" + std::string(freq) +
                          "|0001|275000|3|013|1|0200|0201|0200");
}

std::vector<unsigned> typesOf(const std::string& image) {
    std::vector<unsigned> types;
    for (const auto& r : walkImage(image))
        types.push_back(r.type);
    return types;
}

// The value of the image's first record of `type`; "none" when it holds none.
std::string valueOf(const std::string& image, unsigned type) {
    for (const auto& r : walkImage(image)) {
        if (r.type == type) return r.value;
    }
    return "none";
}

std::size_t count(const std::vector<unsigned>& types, unsigned lo, unsigned hi) {
    return static_cast<std::size_t>(
        std::count_if(types.begin(), types.end(), [&](unsigned t) { return t >= lo && t <= hi; }));
}

// Encodes the lists as a save does: they take their normalized form once the image is made.
Result<std::string> save(ChannelList& tv, ChannelList& radio, const FtaImageTables& tables,
                         ImageSettings settings) {
    TvRadioLists normalized = normalizeForFtaImage(tv, radio);
    auto image = encodeFtaImage(normalized.tv, normalized.radio, tables, settings);
    if (image) {
        tv = std::move(normalized.tv);
        radio = std::move(normalized.radio);
    }
    return image;
}

constexpr ImageSettings kDefaults = ImageSettings::Defaults;
constexpr ImageSettings kFromTables = ImageSettings::FromTables;

std::string image(ChannelList tv, ChannelList radio) {
    auto image = save(tv, radio, FtaImageTables{}, kDefaults);
    EXPECT_TRUE(image.ok());
    return image.ok() ? *image : std::string();
}

TEST(FtaBlocks, PadAndBitmapBlocks) {
    EXPECT_EQ(padBlock(3), bytes("0003323232") + std::string(1, '\0'));
    EXPECT_EQ(padBlock(2), bytes("00023232"));
    // Channel 1: ten bits of 0 and a 0; four channels fill 48 bits; then a whole word of 0.
    // channels 1-4: 00000000000 00000000010 00000000100 00000000110 0000
    EXPECT_EQ(bitmapBlock(1, 4), bytes("0008") + bytes("000008020060") + bytes("0000"));
    // Channel 49 alone: 0000110000 0 -> 11 bits, padded to 16.
    EXPECT_EQ(bitmapBlock(49, 49), bytes("0002") + bytes("0C00"));
    EXPECT_EQ(bitmapBlock(1, 48).substr(0, 2), word16(74));
}

// A converted list: the markers, the program's tag and the default settings.
TEST(FtaWriter, LayoutMarkersTagAndDefaultSettings) {
    const std::string img = image({tvChannel("A", "0001", "0002")}, {});
    ASSERT_EQ(img.size(), 49152u);
    EXPECT_EQ(img.substr(8188, 4), bytes("20007FFC"));
    EXPECT_EQ(img.substr(16380, 4), bytes("2000FFFF"));  // area B holds nothing
    EXPECT_EQ(img.substr(49148, 4), bytes("8000FFFF"));
    EXPECT_EQ(valueOf(img, 0x9999), "QEL" + std::string(1, '\0'));
    const auto types = typesOf(img);
    const std::vector<unsigned> head(types.begin(), types.begin() + 22);
    EXPECT_EQ(head,
              (std::vector<unsigned>{0x8608, 0x8606, 0xE503, 0x8501, 0x8A41, 0x8A42, 0x8A43, 0x8A40,
                                     0x8A44, 0x8E01, 0x8701, 0x8604, 0x8605, 0x860D, 0x860E, 0x8611,
                                     0x860F, 0x860C, 0x8610, 0xE505, 0xE501, 0x8602}));
    const FtaImageTables t = *readFtaImage(img);
    EXPECT_EQ(t.antennas[1], "00002616000029684400HOTBIRD" + std::string(1, '\0'));
    EXPECT_EQ(t.antennas[0].substr(0, 20), "00002616000029680400");
    EXPECT_EQ(settings_record::kSecretCode.in(t.settingsRecord), "249B");
    EXPECT_EQ(t.screenFormat, "00000000");
}

// The tables of a loaded image: an odd record and an empty one, named antennas but one
// whose name was not read, settings and a screen format.
FtaImageTables carriedTables() {
    FtaImageTables tables;
    tables.others.push_back("123400036162630044440000");
    for (auto& a : tables.antennas)
        a = "00001111000022223344NAME" + std::string(4, '\0');
    tables.antennas[2] = "AAAA1111BBBB22223344";
    tables.settingsRecord = "E50100020102";
    tables.screenFormat = "01000100";
    return tables;
}

TEST(FtaWriter, ImageSettingsAreCarried) {
    const FtaImageTables tables = carriedTables();
    ChannelList tv{tvChannel("A", "0001", "0002")};
    ChannelList radio;
    auto img = save(tv, radio, tables, kFromTables);
    ASSERT_TRUE(img.ok());
    const FtaImageTables back = *readFtaImage(*img);
    ASSERT_EQ(back.others.size(), 2u);
    EXPECT_EQ(back.others[0], "1234000361626300");
    EXPECT_EQ(back.others[1], "44440000");
    EXPECT_EQ(back.antennas[0], "00001111000022223344NAME" + std::string(4, '\0'));
    // The upper word of each oscillator is written as 0000; a missing name as zero bytes.
    EXPECT_EQ(back.antennas[2], "00001111000022223344" + std::string(8, '\0'));
    EXPECT_EQ(back.settingsRecord, "E50100020102");
    EXPECT_EQ(back.screenFormat, "01000100");
    EXPECT_TRUE(back.imageTagged);
}

TEST(FtaWriter, BlocksOf48Channels) {
    for (std::size_t n : {0u, 1u, 48u, 49u, 96u, 97u}) {
        ChannelList tv;
        for (std::size_t i = 0; i < n; ++i)
            tv.push_back(tvChannel("C" + std::to_string(i), "0001", "0002"));
        const std::string img = image(tv, {});
        const auto types = typesOf(img);
        const std::size_t blocks = n == 0 ? 0 : (n - 1) / 48 + 1;
        EXPECT_EQ(count(types, 0x87AA, 0x87BE), blocks) << n;
        EXPECT_EQ(count(types, 0x875A, 0x876E), blocks) << n;
        EXPECT_EQ(count(types, 0x870A, 0x871E), blocks) << n;
        if (n == 49) {
            EXPECT_EQ(valueOf(img, 0x87AB), test::channelEntry("C48", 1, 2, 1, 0));
            EXPECT_EQ(valueOf(img, 0x875B), std::string(1, '\x32'));
        }
    }
    // RADIO blocks use their own types.
    const auto types = typesOf(image({}, {tvChannel("R", "0001", "0002")}));
    EXPECT_EQ(count(types, 0x87BF, 0x87BF), 1u);
    EXPECT_EQ(count(types, 0x871F, 0x871F), 1u);
    EXPECT_EQ(count(types, 0x876F, 0x876F), 1u);
}

TEST(FtaWriter, TransponderSharingBlankIdsAndCounts) {
    ChannelList tv{tvChannel("A", "0001", "0002"), tvChannel("B", "0001", "0002"),
                   tvChannel("C", "    ", "    "), tvChannel("D", "0000", "0000"),
                   tvChannel("E", "2020", "0000")};
    ChannelList radio{tvChannel("R1", "0001", "0002"), tvChannel("R2", "0005", "0006"),
                      tvChannel("R3", "0005", "0006")};
    auto img = save(tv, radio, FtaImageTables{}, kDefaults);
    ASSERT_TRUE(img.ok());
    // Blank ids get running numbers and keep them; four blanks are not one of the blank
    // patterns.
    EXPECT_EQ(test::column(tv, "NetId TsId"), "0001|0002 0001|0002     |     0001|0001 0002|0002");
    const FtaImageTables t = *readFtaImage(*img);
    // 0001/0002, blanks, 0001/0001, 0002/0002 for TV; 0005/0006 for RADIO; then the count.
    ASSERT_EQ(t.transponders.size(), 6u);
    EXPECT_EQ(t.transponders[0].substr(0, 8), "90010018");
    EXPECT_EQ(t.transponders[4].substr(0, 20), "90050018000500050006");
    EXPECT_EQ(t.transponders[5], "900000020005");
    EXPECT_EQ(t.pids.size(), 8u + 1);
    EXPECT_EQ(t.tvCount, 5);
    EXPECT_EQ(t.radioCount, 3);
}

// A channel that has 0001/0001 as its ids keeps its own transponder: the running numbers
// given to blank ids pass its number over (a header given 0001 took the channel's frequency).
TEST(FtaWriter, RunningIdsPassOverIdsInUse) {
    ChannelList tv{tvChannel("HEADER", "0000", "0000", "00000000"), tvChannel("A", "0001", "0001"),
                   tvChannel("B", "0000", "0000", "01250000")};
    ChannelList radio{tvChannel("R", "0003", "0003"), tvChannel("S", "0000", "0000", "01230000")};
    auto img = save(tv, radio, FtaImageTables{}, kDefaults);
    ASSERT_TRUE(img.ok());
    EXPECT_EQ(test::column(tv, "NetId"), "0002 0001 0004");
    EXPECT_EQ(radio[1].TsId.view(), "0005");
    auto tables = readFtaImage(*img);
    ASSERT_TRUE(tables.ok());
    const TvRadioLists back = channelListsOf(*tables);
    ASSERT_EQ(back.tv.size(), 3u);
    ASSERT_EQ(back.radio.size(), 2u);
    EXPECT_EQ(test::column(back.tv, "Freq"), "00000000 01176600 01250000");
    EXPECT_EQ(back.radio[1].Freq.view(), "01230000");
}

TEST(FtaWriter, BandRuleAndUntunedTransponders) {
    ChannelList tv{
        tvChannel("LOW", "0001", "0001", "01169999"), tvChannel("HIGH", "0001", "0002", "01170000"),
        tvChannel("NOTS", "0001", "0003", "NO TS"), tvChannel("ZERO", "0001", "0004", "00095025")};
    tv[0].LoHi = "1";
    tv[1].LoHi = "0";
    ChannelList noRadio;
    auto img = save(tv, noRadio, FtaImageTables{}, kDefaults);
    ASSERT_TRUE(img.ok());
    EXPECT_EQ(tv[0].LoHi.view(), "0");
    EXPECT_EQ(tv[1].LoHi.view(), "1");
    const FtaImageTables t = *readFtaImage(*img);
    // Tuned: the ids, the antenna and its second word, frequency, satellite, band,
    // polarisation, rate, FEC. Untuned: the ids, 00000004, MHz and fraction, 0203, rate.
    const auto joined = [](std::string s) { return std::erase(s, ' '), s; };
    EXPECT_EQ(t.transponders[0].substr(8),
              joined("000100010001 0000 0008 01169999 0013 00 01 00 275000 01 03"));
    EXPECT_EQ(t.transponders[2].substr(8),
              joined("000100010003 00000004 00000000 0203 00 275000 0F000000"));
    EXPECT_EQ(t.transponders[3].substr(8, 32), joined("000100010004 00000004 03B62500 0203"));
    const auto lists = channelListsOf(t);
    EXPECT_EQ(lists.tv[2].Freq.view(), "00000000");
    EXPECT_EQ(lists.tv[3].Freq.view(), "00095025");
}

// Every field the image holds, given a value no other field has, comes back from the place
// the writer put it: the reader and the writer share one layout.
TEST(FtaWriter, EveryFieldReadsBackFromWhereItWasWritten) {
    const char* kTuned = "ChName NetId TsId SerId TrId Ant Freq Sat Pol Srate Fec VPid APid PPid";
    const char* kUntuned = "ChName NetId TsId SerId TrId Freq Srate VPid APid PPid";
    const std::string tunedValues =
        "TUNED               |0A1B|2C3D|4E5F|1F00|0130|01234567|123|1|274999|5|0101|0202|0303";
    const std::string untunedValues =
        "UNTUNED             |6A7B|8C9D|AEBF|0000|00095025|123456|0404|0505|0606";
    const ChannelRec tuned = withFields(emptyChannel(), kTuned, tunedValues);
    const ChannelRec untuned = withFields(emptyChannel(), kUntuned, untunedValues);
    FtaImageTables tables;
    for (std::size_t i = 0; i < kAntennaEntries; ++i) {
        const char d = static_cast<char>('1' + i);
        tables.antennas[i] = "0000" + std::string(4, d) + "0000" + std::string(4, 'A') +
                             std::string("C") + d + "0" + d + "ANT" + d + std::string(4, '\0');
    }
    tables.screenFormat = "12345678";
    const auto img = encodeFtaImage({tuned, untuned}, {}, tables, kFromTables);
    ASSERT_TRUE(img.ok());
    const FtaImageTables t = *readFtaImage(*img);
    EXPECT_EQ(t.antennas, tables.antennas);
    EXPECT_EQ(t.screenFormat, tables.screenFormat);

    const TvRadioLists back = channelListsOf(t);
    ASSERT_EQ(back.tv.size(), 2u);
    EXPECT_EQ(fieldsOf(back.tv[0], kTuned), tunedValues);
    EXPECT_EQ(fieldsOf(back.tv[1], kUntuned), untunedValues);
    // A TrId with a high byte gives AntAux 0088; 12345 MHz is in the high band.
    EXPECT_EQ(fieldsOf(back.tv[0], "AntAux LoHi"), "0088|1");
    EXPECT_EQ(fieldsOf(back.tv[1], "Sat Ant AntAux"), "203|0000|0004");
}

// `n` channels over `transponders` transponders, every fourth a RADIO channel, with names
// of both parities and leading blanks that the writer trims.
TvRadioLists variedLists(int n, int transponders) {
    TvRadioLists lists;
    for (int i = 0; i < n; ++i) {
        const int tp = i % transponders;
        const std::string net = pad4(toHex(static_cast<std::uint32_t>(1 + tp % 7)));
        const std::string ts = pad4(toHex(static_cast<std::uint32_t>(tp)));
        ChannelRec ch = tvChannel(" C" + std::to_string(i) + (i % 2 ? "x" : ""), net, ts,
                                  zeroPadDecimal(10700 + (tp % 40) * 50, 6) + "00");
        ch.SerId = pad4(toHex(static_cast<std::uint32_t>(i)));
        ch.Ant = "0020";
        if (i % 9 == 4) ch.Freq = "NO TS  ";
        (i % 4 == 0 ? lists.radio : lists.tv).push_back(ch);
    }
    return lists;
}

// An image the writer made reads back to lists and tables that write the same bytes again,
// whether it was converted from a DVB98 list (default settings) or written from the tables
// of an image.
TEST(FtaWriter, AnImageItMadeWritesBackAsTheSameBytes) {
    // The most an image holds: 256 transponders and channels until area C is full.
    const auto fits = [](const TvRadioLists& l) {
        return ftaImageFit(l.tv, l.radio, {}, kDefaults).fits();
    };
    int n = 256;  // fits
    int over = 2 * static_cast<int>(kMaxFtaChannelsPerList) + 1;
    while (over - n > 1) {
        const int mid = (n + over) / 2;
        (fits(variedLists(mid, 256)) ? n : over) = mid;
    }
    const TvRadioLists most = variedLists(n, 256);
    ASSERT_FALSE(fits(variedLists(n + 1, 256)));
    const FtaImageTables carried = carriedTables();
    struct Case {
        const char* what;
        TvRadioLists lists;
        FtaImageTables tables;
        ImageSettings settings;
    };
    const Case cases[] = {
        {"1 channel, converted", variedLists(1, 1), {}, kDefaults},
        {"40 channels, converted", variedLists(40, 12), {}, kDefaults},
        {"130 channels from tables", variedLists(130, 30), carried, kFromTables},
        {"the most an image holds", most, {}, kDefaults},
    };
    for (const Case& c : cases) {
        ChannelList tv = c.lists.tv;
        ChannelList radio = c.lists.radio;
        auto first = save(tv, radio, c.tables, c.settings);
        ASSERT_TRUE(first.ok()) << c.what;
        const FtaImageTables t = *readFtaImage(*first);
        const TvRadioLists back = channelListsOf(t);
        ASSERT_EQ(back.tv.size(), tv.size()) << c.what;
        ASSERT_EQ(back.radio.size(), radio.size()) << c.what;
        EXPECT_EQ(back.radio.back().ChName, radio.back().ChName) << c.what;  // trimmed
        auto again = encodeFtaImage(back.tv, back.radio, t, kFromTables);
        ASSERT_TRUE(again.ok()) << c.what;
        EXPECT_TRUE(*again == *first) << c.what;
    }
    EXPECT_EQ(ftaImageFit(most.tv, most.radio, {}, kDefaults).transponders, 256u);
}

// A loaded image that nobody changed is written as its file holds it, even one the writer
// would lay out otherwise; a change writes the writer's image.
TEST(FtaWriter, AnUnchangedLoadedImageIsWrittenAsTheFileHoldsIt) {
    const std::string foreign = test::FtaImage()
                                    .add(0x0000, "ab")
                                    .add(0xE501, "0102")
                                    .add(0x8602, std::string(1, '\x01'))
                                    .add(0x87AA, test::channelEntry("ONE ", 1, 2, 3, 0))
                                    .add(0x9001, test::tunedTransponder(1, 2, 0x0020, 8, "01176600",
                                                                        "013", 0, 1, "275000", 3))
                                    .add(0x9000, word16(1))
                                    .build();
    const FtaImageTables t = *readFtaImage(foreign);
    const TvRadioLists read = channelListsOf(t);
    FtaImageTables loaded = t;
    rememberSourceImage(loaded, read, foreign);
    const TvRadioLists lists = normalizeForFtaImage(read.tv, read.radio);
    EXPECT_TRUE(*encodeFtaImage(lists.tv, lists.radio, loaded, kFromTables) != foreign);
    EXPECT_TRUE(*imageOfLoadedFile(lists.tv, lists.radio, loaded) == foreign);

    ChannelList renamed = lists.tv;
    renamed[0].ChName = "TWO";
    EXPECT_TRUE(*imageOfLoadedFile(renamed, lists.radio, loaded) ==
                *encodeFtaImage(renamed, lists.radio, loaded, kFromTables));
    FtaImageTables reformatted = loaded;
    reformatted.screenFormat = "02000200";
    EXPECT_TRUE(*imageOfLoadedFile(lists.tv, lists.radio, reformatted) != foreign);
    EXPECT_TRUE(*imageOfLoadedFile(lists.tv, lists.radio, t) ==
                *encodeFtaImage(lists.tv, lists.radio, t, kFromTables));  // no file behind it
}

TEST(FtaWriter, AreaCutsAtRecordBoundaries) {
    // 81 records of 100 bytes, then `tail` raw bytes (a record header and its value).
    const auto data = [](std::size_t tail) {
        std::string d;
        for (int i = 0; i < 81; ++i)
            d += test::rec(0x4000, std::string(96, 'x'));
        return d + word16(0x4001) + word16(static_cast<unsigned>(tail - 4)) +
               std::string(tail - 4, 'y');
    };
    // 8183 bytes fit area A whole; area B holds nothing.
    auto a = layOutFlashAreas(data(83));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a->substr(8100, 83), data(83).substr(8100));
    EXPECT_EQ(a->substr(8183, 5), bytes("FFFFFFFFFF"));
    EXPECT_EQ(a->substr(8188, 4), bytes("20007FFC"));
    EXPECT_EQ(a->substr(16380, 4), bytes("2000FFFF"));

    // 8184 bytes whose last record ends at 8184: still all in area A, and area B is
    // marked though it holds no record.
    const std::string d84 = data(84);
    EXPECT_EQ(cutPosition(d84, 8186), 8185u);
    auto b = layOutFlashAreas(d84);
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b->substr(0, 8184), d84);
    EXPECT_EQ(b->substr(8184, 4), bytes("FFFFFFFF"));
    EXPECT_EQ(b->substr(8192, 2), bytes("FFFF"));
    EXPECT_EQ(b->substr(16380, 4), bytes("20007FFC"));

    // A record that would end past position 8185 moves whole to area B.
    const std::string d100 = data(100);
    EXPECT_EQ(cutPosition(d100, 8186), 8101u);
    auto c = layOutFlashAreas(d100);
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c->substr(8100, 4), bytes("FFFFFFFF"));
    EXPECT_EQ(c->substr(8192, 100), d100.substr(8100));
    EXPECT_EQ(c->substr(16382, 2), bytes("7FFC"));
    EXPECT_EQ(c->substr(49150, 2), bytes("FFFF"));

    // Empty 4-byte records: areas A and B take 8184 bytes each, C less than 32760.
    auto full = layOutFlashAreas(std::string(8184 * 2 + 32759, '\0'));
    ASSERT_TRUE(full.ok());
    EXPECT_EQ(full->substr(49148, 4), bytes("80007FFC"));
    EXPECT_EQ(layOutFlashAreas(std::string(8184 * 2 + 32760, '\0')).error(),
              ErrorCode::TooManyChannelsFta);
}

TEST(FtaWriter, Refusals) {
    ChannelList tv;
    for (int i = 0; i < 257; ++i)
        tv.push_back(tvChannel("T", "0001", pad4(toHex(static_cast<std::uint32_t>(i + 1)))));
    ChannelList radio;
    const ChannelList before = tv;
    EXPECT_EQ(save(tv, radio, FtaImageTables{}, kDefaults).error(), ErrorCode::TooManyChannelsFta);
    EXPECT_EQ(tv, before);  // a refused save changes nothing
    tv.pop_back();
    EXPECT_TRUE(save(tv, radio, FtaImageTables{}, kDefaults).ok());

    ChannelList many(1009, tvChannel("T", "0001", "0001"));
    EXPECT_EQ(save(many, radio, FtaImageTables{}, kDefaults).error(),
              ErrorCode::TooManyChannelsFta);
    many.pop_back();
    EXPECT_TRUE(save(many, radio, FtaImageTables{}, kDefaults).ok());
}

}  // namespace
}  // namespace qel
