#include "listcheck/list_check.h"

#include <gtest/gtest.h>

#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/fta_writer.h"
#include "listedit/font_glyphs.h"
#include "model/workspace.h"
#include "receiver_settings/dvb98_settings.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

// A channel the check finds nothing in.
Channel good(std::string_view name = "RAI 1", std::string_view sid = "0001") {
    Channel c(name);
    c.Freq("01176600").Srate("275000").Fec("3").Pol("1").NetId("0001").TsId("0002");
    return c.SerId(sid).VPid("0200").APid("0201").PPid("0200");
}

ChannelRec header(std::string_view name = "HOTBIRD") {
    return Channel(name).Freq("00000000");
}

std::vector<Finding> check(const ChannelList& tv, const ChannelList& radio = {},
                           bool ftaImage = false) {
    CheckInput in;
    in.tv = &tv;
    in.radio = &radio;
    in.ftaImage = ftaImage;
    return checkLists(in);
}

// What identifies a finding in the expectations: level, list, row, field, message.
struct Expected {
    FindingLevel level;
    ListId list;
    int row;
    std::string field;
    FindingMessage message;
    friend bool operator==(const Expected&, const Expected&) = default;
};

std::vector<Expected> summary(const std::vector<Finding>& findings) {
    std::vector<Expected> out;
    for (const Finding& f : findings)
        out.push_back({f.level, f.list, f.row, f.field, f.message});
    return out;
}

constexpr FindingLevel kError = FindingLevel::Error;
constexpr FindingLevel kWarning = FindingLevel::Warning;

// The capacity findings alone (lists of one channel repeated are duplicates too).
std::vector<Expected> capacity(const ChannelList& tv, const ChannelList& radio = {},
                               bool ftaImage = false) {
    std::vector<Expected> c;
    for (const Finding& f : check(tv, radio, ftaImage)) {
        if (f.kind == FindingKind::Capacity)
            c.push_back({f.level, f.list, f.row, f.field, f.message});
    }
    return c;
}

TEST(ListCheck, AGoodListHasNoFindings) {
    EXPECT_TRUE(check({header(), good("A", "0001"), good("B", "0002")}, {good("R")}).empty());
    EXPECT_TRUE(check({}, {}).empty());
}

// Each value on both sides of its limit: the field alone decides.
TEST(ListCheck, ValuesOnTheirLimits) {
    struct Case {
        const char* what;
        ChannelRec channel;
        std::vector<Expected> expected;
    };
    const auto at = [](FindingLevel level, const char* field, FindingMessage message) {
        return std::vector<Expected>{{level, ListId::TV, 1, field, message}};
    };
    using M = FindingMessage;
    const std::vector<Case> cases = {
        {"VPid 1FFF", good().VPid("1FFF"), {}},
        {"VPid 2000", good().VPid("2000"), at(kError, "VPid", M::PidAboveLimit)},
        {"APid 2000", good().APid("2000"), at(kError, "APid", M::PidAboveLimit)},
        {"PPid FFFF", good().PPid("FFFF"), at(kError, "PPid", M::PidAboveLimit)},
        {"PmtPid 2000", good().PmtPid("2000"), at(kError, "PmtPid", M::PidAboveLimit)},
        {"PmcPid 2000", good().PmcPid("2000"), at(kError, "PmcPid", M::PidAboveLimit)},
        {"TxtPid 1FFF", good().TxtPid("1FFF"), {}},
        {"TxtPid 2000", good().TxtPid("2000"), at(kError, "TxtPid", M::PidAboveLimit)},
        {"VPid not hex", good().VPid("01G0"), at(kError, "VPid", M::PidNotHex)},
        {"C band low edge", good().Freq("00340000"), {}},
        {"below C band", good().Freq("00339999"), at(kWarning, "Freq", M::FrequencyOutsideBands)},
        {"C band high edge", good().Freq("00420000"), {}},
        {"above C band", good().Freq("00420001"), at(kWarning, "Freq", M::FrequencyOutsideBands)},
        {"Ku band low edge", good().Freq("01070000"), {}},
        {"below Ku band", good().Freq("01069999"), at(kWarning, "Freq", M::FrequencyOutsideBands)},
        {"Ku band high edge", good().Freq("01275000"), {}},
        {"above Ku band", good().Freq("01275001"), at(kWarning, "Freq", M::FrequencyOutsideBands)},
        {"between bands", good().Freq("00950000"), at(kWarning, "Freq", M::FrequencyOutsideBands)},
        {"image channel without transponder", good().Freq("NO TS"),
         at(kWarning, "Freq", M::NoTransponder)},
        {"symbol rate 1000", good().Srate("010000"), {}},
        {"symbol rate 999.9", good().Srate("009999"), at(kWarning, "Srate", M::SymbolRateOutside)},
        {"symbol rate 45000", good().Srate("450000"), {}},
        {"symbol rate 45000.1", good().Srate("450001"),
         at(kWarning, "Srate", M::SymbolRateOutside)},
        {"FEC 0", good().Fec("0"), {}},
        {"FEC 5", good().Fec("5"), {}},
        {"FEC 6", good().Fec("6"), at(kError, "Fec", M::FecOutside)},
        {"FEC blank", good().Fec(" "), at(kError, "Fec", M::FecOutside)},
        {"empty name", good("   "), at(kWarning, "ChName", M::EmptyName)},
        {"never filled name", good(std::string(20, '\0')), at(kWarning, "ChName", M::EmptyName)},
        {"nothing in brackets", good("[]hidden"), at(kWarning, "ChName", M::EmptyName)},
        {"control character", good("RAI\x01"), at(kWarning, "ChName", M::CharactersNotShown)},
        {"Latin-1 letter", good("Citt\xE0"), {}},
        {"bad character outside the brackets", good("[RAI]\x01"), {}},
        {"two faults, field order",
         good().Freq("00100000").VPid("2000"),
         {{kWarning, ListId::TV, 1, "Freq", M::FrequencyOutsideBands},
          {kError, ListId::TV, 1, "VPid", M::PidAboveLimit}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(summary(check({c.channel})), c.expected) << c.what;
    }
}

TEST(ListCheck, SatelliteHeadersAreNotTuned) {
    // A header's frequency is 0 and its APid the rotor position: neither is a fault.
    const ChannelRec stab = Channel(header()).APid("FFFF").Srate("000000");
    EXPECT_TRUE(check({stab, good()}).empty());
}

TEST(ListCheck, Structure) {
    using M = FindingMessage;
    // Headers without channels: one followed by another, and one at the end.
    EXPECT_EQ(summary(check({header("A"), header("B"), good(), header("C")})),
              (std::vector<Expected>{{kWarning, ListId::TV, 1, "", M::HeaderWithoutChannels},
                                     {kWarning, ListId::TV, 4, "", M::HeaderWithoutChannels}}));
    // Channels before the first header, counted once at row 1; a list without headers is fine.
    const auto before =
        check({}, {good("A", "0001"), good("B", "0002"), header(), good("C", "0003")});
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(summary(before)[0],
              (Expected{kWarning, ListId::Radio, 1, "", M::ChannelsBeforeHeader}));
    EXPECT_EQ(before[0].args, std::vector<std::string>{"2"});
    EXPECT_TRUE(check({good("A", "0001"), good("B", "0002")}).empty());
}

TEST(ListCheck, Duplicates) {
    using M = FindingMessage;
    const ChannelList tv = {header("A"),          good("ONE", "0001"),
                            good("TWO", "0002"),  header("B"),
                            good("ONE'", "0001"), good("TWO new").SerId("0002").VPid("0300"),
                            good("X", "0000"),    good("Y", "0000").VPid("0301")};
    const auto found = check(tv);
    EXPECT_EQ(summary(found),
              (std::vector<Expected>{{kWarning, ListId::TV, 5, "", M::SameAsRow},
                                     {kWarning, ListId::TV, 6, "", M::OtherPidsThanRow}}));
    EXPECT_EQ(found[0].args, std::vector<std::string>{"2"});
    EXPECT_EQ(found[0].name, "ONE'");
    EXPECT_EQ(found[1].args, std::vector<std::string>{"3"});
    for (const Finding& f : found)
        EXPECT_EQ(f.kind, FindingKind::Duplicate);
    // Each list on its own: the same channel as TV and as RADIO is no duplicate.
    EXPECT_TRUE(check({good()}, {good()}).empty());
    // Another transponder: not the same service.
    EXPECT_TRUE(check({good("A"), good("B").Freq("01200000").VPid("0300")}).empty());
}

TEST(ListCheck, Dvb98Capacity) {
    using M = FindingMessage;
    const ChannelList full(kMaxDvb98Channels, good());
    EXPECT_TRUE(capacity(full).empty());
    ChannelList over = full;
    over.push_back(good());
    EXPECT_EQ(capacity(over),
              (std::vector<Expected>{{kError, ListId::TV, 3072, "", M::TooManyDvb98Channels}}));
    for (const Finding& f : check(over)) {
        if (f.kind == FindingKind::Capacity) {
            EXPECT_EQ(f.args, (std::vector<std::string>{"3072", "3071"}));
        }
    }
    // Split over both lists: the first channel without room is in the RADIO list.
    EXPECT_EQ(capacity(ChannelList(3000, good()), ChannelList(72, good())),
              (std::vector<Expected>{{kError, ListId::Radio, 72, "", M::TooManyDvb98Channels}}));
    EXPECT_TRUE(capacity(ChannelList(3000, good()), ChannelList(71, good())).empty());
    // An image has limits of its own: the same 3072 channels overflow both lists' blocks.
    const auto image = capacity(ChannelList(2000, good()), ChannelList(1072, good()), true);
    ASSERT_EQ(image.size(), 2u);
    for (const Expected& e : image)
        EXPECT_EQ(e.message, M::TooManyImageChannels);
}

// Channels on `n` transponders, one each, with names of `nameLength` characters.
ChannelList onTransponders(int n, std::size_t nameLength = 4, std::size_t first = 1) {
    ChannelList list;
    for (int i = 0; i < n; ++i) {
        const std::string ts = pad4(toHex(static_cast<std::uint32_t>(first + i)));
        list.push_back(good(std::string(nameLength, 'N')).TsId(ts).SerId(ts));
    }
    return list;
}

TEST(ListCheck, ImageCapacityIsTheWritersLimit) {
    using M = FindingMessage;
    const auto imageCapacity = [](const ChannelList& tv, const ChannelList& radio) {
        return capacity(tv, radio, true);
    };
    // Transponders: the 257th record's channel, TV first; a RADIO channel on a TV transponder
    // adds none.
    EXPECT_TRUE(imageCapacity(onTransponders(256), {}).empty());
    EXPECT_EQ(imageCapacity(onTransponders(257), {}),
              (std::vector<Expected>{{kError, ListId::TV, 257, "", M::TooManyTransponders}}));
    EXPECT_TRUE(imageCapacity(onTransponders(200), onTransponders(200)).empty());
    EXPECT_EQ(imageCapacity(onTransponders(200), onTransponders(60, 4, 200)),
              (std::vector<Expected>{{kError, ListId::Radio, 58, "", M::TooManyTransponders}}));
    // Channels a list: 1008 fit its blocks.
    EXPECT_TRUE(imageCapacity(ChannelList(kMaxFtaChannelsPerList, good()), {}).empty());
    EXPECT_EQ(imageCapacity({}, ChannelList(kMaxFtaChannelsPerList + 1, good())),
              (std::vector<Expected>{{kError, ListId::Radio, 1009, "", M::TooManyImageChannels}}));

    // The flash: the check refuses exactly what the writer refuses, on both sides of the
    // first list size that no longer fits.
    const ChannelList tv = onTransponders(200, 20);
    std::size_t firstOver = 0;
    for (std::size_t n = 600; n <= kMaxFtaChannelsPerList && firstOver == 0; n += 8) {
        ChannelList radio(n, good(std::string(20, 'R')));
        if (!encodeFtaImage(tv, radio, FtaImageTables{}, ImageSettings::FromTables).ok())
            firstOver = n;
    }
    ASSERT_NE(firstOver, 0u) << "the lists should outgrow the flash";
    for (std::size_t n = firstOver - 8; n <= firstOver; ++n) {
        const ChannelList radio(n, good(std::string(20, 'R')));
        const bool writes =
            encodeFtaImage(tv, radio, FtaImageTables{}, ImageSettings::FromTables).ok();
        const auto found = imageCapacity(tv, radio);
        EXPECT_EQ(found.empty(), writes) << n << " RADIO channels";
        if (!writes) {
            EXPECT_EQ(found, (std::vector<Expected>{
                                 {kError, ListId::Radio, static_cast<int>(n), "", M::ImageFull}}));
        }
    }
}

TEST(ListCheck, FtaImageFitMatchesTheWriter) {
    const FtaImageFit fits = ftaImageFit(onTransponders(256), {}, {}, ImageSettings::Defaults);
    EXPECT_TRUE(fits.fits());
    EXPECT_EQ(fits.transponders, 256u);
    const FtaImageFit over = ftaImageFit(onTransponders(257), {}, {}, ImageSettings::Defaults);
    EXPECT_FALSE(over.fits());
    EXPECT_EQ(over.firstTransponderOver, (ListPlace{ListId::TV, 256}));
    // Blank ids become running ids first: 257 blank channels need 257 records too.
    const FtaImageFit blank = ftaImageFit(ChannelList(257, Channel("B").Freq("01100000")), {}, {},
                                          ImageSettings::Defaults);
    EXPECT_EQ(blank.transponders, 257u);
    const FtaImageFit tooLong = ftaImageFit(ChannelList(kMaxFtaChannelsPerList + 1, good()), {}, {},
                                            ImageSettings::Defaults);
    EXPECT_FALSE(tooLong.tvFits);
    EXPECT_TRUE(tooLong.radioFits);
}

std::string settingsWith(std::initializer_list<std::pair<const char*, const char*>> values) {
    std::string image = "4456534F" + std::string(kSettingsImageLength - 8, '0');
    for (const auto& [name, text] : values) {
        SettingValue v;
        v.text = text;
        writeSetting(image, *findSettingField(name), v);
    }
    return image;
}

TEST(ListCheck, LnbBandsOfTheSettings) {
    EXPECT_TRUE(lnbBands(settingsWith({})).empty());
    EXPECT_TRUE(lnbBands(std::string(kSettingsImageLength, ' ')).empty());  // not loaded
    EXPECT_EQ(lnbBands(settingsWith({{"LNB1Lof1", "9750"}, {"LNB1Lof2", "10600"}})),
              (std::vector<Band>{{10700, 12750}}));
    EXPECT_EQ(lnbBands(settingsWith({{"LNB1Lof1", "9750"}, {"LNBLofC", "5150"}})),
              (std::vector<Band>{{3000, 4200}, {10700, 11900}}));

    // With LNBs in the settings their bands decide, and the message names them.
    const std::string settings = settingsWith({{"LNB1Lof1", "9750"}});
    const ChannelList tv = {good("IN").Freq("01190000"), good("OUT", "0002").Freq("01190001")};
    CheckInput in;
    in.tv = &tv;
    in.settingsImage = settings;
    const auto found = checkLists(in);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].row, 2);
    EXPECT_EQ(found[0].message, FindingMessage::FrequencyOutsideLnbs);
    EXPECT_EQ(found[0].args, (std::vector<std::string>{"11900.01", "10700-11900"}));
    // Settings without oscillators leave the fixed bands.
    const std::string none = settingsWith({});
    in.settingsImage = none;
    EXPECT_TRUE(checkLists(in).empty());
}

TEST(ListCheck, CharactersOfTheLoadedFont) {
    std::string font(fontSize(FontType::SystemOneSet), '\0');
    // 'A' and 'C' have pixels; 'B' and every other glyph are blank.
    for (const char c : {'A', 'C'})
        ASSERT_TRUE(writeGlyph(font, FontType::SystemOneSet, 0, c, GlyphRows(16, 0x18)));
    const auto shown = fontCharacters(font, FontType::SystemOneSet);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->test('A'));
    EXPECT_FALSE(shown->test('B'));
    EXPECT_TRUE(shown->test(' '));
    EXPECT_FALSE(fontCharacters(std::string(kTeletextFontSize, '\xFF'), FontType::Teletext));
    EXPECT_FALSE(fontCharacters(font.substr(1), FontType::SystemOneSet));

    const ChannelList tv = {good("A C"), good("ABBA", "0002")};
    CheckInput in;
    in.tv = &tv;
    in.font = shown;
    const auto found = checkLists(in);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].row, 2);
    EXPECT_EQ(found[0].field, "ChName");
    EXPECT_EQ(found[0].args, std::vector<std::string>{"\"B\""});  // named once
}

TEST(ListCheck, RemoveDuplicatesKeepsTheFirstOfEachGroup) {
    const ChannelRec a = good("A", "0001");
    const ChannelRec b = good("B", "0002");
    ChannelList list = {a, b, Channel(a).name("A again"), header("H"), header("H"), b};
    const std::vector<std::size_t> where = removeDuplicates(list);
    EXPECT_EQ(list, (ChannelList{a, b, header("H"), header("H")}));
    EXPECT_EQ(where, (std::vector<std::size_t>{0, 1, 0, 2, 3, 1}));
    // Nothing left to find or remove.
    for (const Finding& f : check(list))
        EXPECT_NE(f.kind, FindingKind::Duplicate);
    const ChannelList again = list;
    removeDuplicates(list);
    EXPECT_EQ(list, again);
}

TEST(ListCheck, TextsInBothLanguages) {
    for (int m = 0; m <= static_cast<int>(FindingMessage::ChannelsBeforeHeader); ++m) {
        Finding f;
        f.message = static_cast<FindingMessage>(m);
        f.args = {"7", "9"};
        const std::string en = findingText(f, TextLanguage::English);
        const std::string it = findingText(f, TextLanguage::Italian);
        EXPECT_FALSE(en.empty()) << m;
        EXPECT_FALSE(it.empty()) << m;
        EXPECT_NE(en, it) << m;
        EXPECT_EQ(en.find('%'), std::string::npos) << en;
        EXPECT_EQ(it.find('%'), std::string::npos) << it;
    }
    Finding pid;
    pid.message = FindingMessage::PidAboveLimit;
    pid.args = {"2000"};
    EXPECT_EQ(findingText(pid, TextLanguage::English), "PID 2000 is above 1FFF");
    EXPECT_EQ(findingText(pid, TextLanguage::Italian), "Il PID 2000 supera 1FFF");
    EXPECT_EQ(levelText(FindingLevel::Warning, TextLanguage::Italian), "avviso");
    EXPECT_EQ(kindName(FindingKind::Structure), "structure");
}

}  // namespace
}  // namespace qel
