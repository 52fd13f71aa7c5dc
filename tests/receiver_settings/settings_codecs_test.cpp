#include <gtest/gtest.h>

#include <random>

#include "bytes/conversions.h"
#include "files/fta_writer.h"
#include "receiver_settings/dvb98_settings.h"
#include "receiver_settings/fta_settings.h"
#include "receiver_settings/osd_colors.h"

namespace qel {
namespace {

std::string randomBlock(unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(1265, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng() & 0xFF);
    return bytesToHex(bytes).substr(0, 2530);
}

std::string withByte(std::string image, int offset, const std::string& hex) {
    image.replace(static_cast<std::size_t>(offset) * 2, hex.size(), hex);
    return image;
}

std::string byte(const std::string& image, int offset, int size = 1) {
    return image.substr(static_cast<std::size_t>(offset) * 2, static_cast<std::size_t>(size) * 2);
}

SettingValue shownValue(const std::string& image, const char* name) {
    return showSetting(image, *findSettingField(name));
}

std::string write(std::string image, const char* name, SettingValue v) {
    writeSetting(image, *findSettingField(name), v);
    return image;
}

SettingValue Index(int i) {
    return {i, false, ""};
}
SettingValue checked(bool c) {
    return {-1, c, ""};
}
SettingValue text(const char* t) {
    return {-1, false, t};
}

TEST(Dvb98Settings, ListsChecksAndNumbers) {
    const std::string base(2530, '0');
    EXPECT_EQ(shownValue(withByte(base, 14, "0A"), "Baudrate").index, 2);  // "1800"
    EXPECT_EQ(shownValue(withByte(base, 14, "07"), "Baudrate").index, -1);
    EXPECT_EQ(byte(write(base, "Baudrate", Index(5)), 14), "0D");  // "38400"
    EXPECT_EQ(byte(write(withByte(base, 14, "07"), "Baudrate", Index(-1)), 14), "07");

    EXPECT_EQ(shownValue(base, "LastPrgTV").text, "1");
    EXPECT_EQ(byte(write(base, "LastPrgTV", text("300")), 64, 2), "012B");
    EXPECT_EQ(byte(write(withByte(base, 64, "0005"), "LastPrgTV", text("")), 64, 2), "0000");
    EXPECT_EQ(byte(write(withByte(base, 179, "05"), "ChScrollMode", text("abc")), 179), "00");

    // Check boxes and their encodings, each way round.
    struct Check {
        const char* name;
        int offset;
        const char* checked;
        const char* unchecked;
    };
    for (const Check& c :
         {Check{"SCSIDetect", 264, "00", "01"}, Check{"LnbWarn", 247, "00", "01"},
          Check{"LNBonoff", 183, "01", "00"}, Check{"CAMStatus", 152, "FF", "00"},
          Check{"NumInBrowser", 175, "FF", "00"}, Check{"RgbOut", 174, "00", "FF"}}) {
        const std::string on = withByte(base, c.offset, c.checked);
        const std::string off = withByte(base, c.offset, c.unchecked);
        EXPECT_TRUE(shownValue(on, c.name).checked) << c.name;
        EXPECT_FALSE(shownValue(off, c.name).checked) << c.name;
        EXPECT_EQ(byte(write(off, c.name, checked(true)), c.offset), c.checked) << c.name;
        EXPECT_EQ(byte(write(on, c.name, checked(false)), c.offset), c.unchecked) << c.name;
    }

    EXPECT_EQ(shownValue(withByte(base, 24, "00002616"), "LNB1Lof1").text, "9750");
    EXPECT_EQ(byte(write(base, "LNB1Lof1", text("10600")), 24, 4), "00002968");
    EXPECT_EQ(shownValue(withByte(base, 24, "FFFFFFFF"), "LNB1Lof1").text, "4294967295");
    EXPECT_EQ(byte(write(base, "DispDimNormal", text("300")), 220), "2C");  // the last digits
    EXPECT_EQ(byte(write(base, "useVolt3", Index(3)), 348, 2), "0003");
    EXPECT_EQ(shownValue(withByte(base, 74, "07"), "Ctrl").index, 1);
    EXPECT_EQ(byte(write(withByte(base, 74, "07"), "Ctrl", Index(0)), 74), "00");
    EXPECT_EQ(byte(write(base, "Sat", Index(1)), 54), "FF");
    EXPECT_EQ(byte(write(base, "Diseqaddr", text(" 7 ")), 244), "07");
    // The parental code's characters are written as they stand, however many were typed.
    const std::string code = withByte(base, 1088, "A1B2");
    EXPECT_EQ(byte(write(code, "ParenCtr", text("12")), 1088, 2), "12B2");
    EXPECT_EQ(byte(write(code, "ParenCtr", text("C3D4")), 1088, 2), "C3D4");
    EXPECT_EQ(shownValue(withByte(base, 1088, "A1B2"), "ParenCtr").text, "A1B2");
}

TEST(Dvb98Settings, EachControlOwnsItsBytesOfTheBlock) {
    // The receiver's layout: where each control of the two windows sits, in table order.
    const std::vector<std::pair<int, int>> general = {
        {14, 1},   {24, 4},   {28, 4},   {32, 4},   {36, 4},   {64, 2},  {66, 2},  {74, 1},
        {152, 1},  {175, 1},  {179, 1},  {220, 1},  {221, 1},  {230, 1}, {248, 1}, {264, 1},
        {265, 1},  {266, 1},  {268, 1},  {344, 2},  {346, 2},  {348, 2}, {350, 2}, {1088, 2},
        {1092, 4}, {1096, 4}, {1100, 4}, {1104, 4}, {1108, 4}, {1112, 4}};
    const std::vector<std::pair<int, int>> further = {
        {54, 1},  {56, 1},  {58, 1},  {174, 1}, {176, 1}, {178, 1}, {183, 1},
        {244, 1}, {247, 1}, {254, 1}, {255, 1}, {256, 1}, {257, 1}, {262, 1}};
    for (auto [fields, layout] :
         {std::pair{generalSettingFields(), general}, std::pair{furtherSettingFields(), further}}) {
        ASSERT_EQ(fields.size(), layout.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const SettingField& f = fields[i];
            EXPECT_EQ(std::pair(f.offset, f.size), layout[i]) << f.name;
            // A value written changes nothing outside the control's bytes.
            const std::string block(2530, 'F');
            std::string image = block;
            writeSetting(image, f, {0, true, "1"});
            for (std::size_t at = 0; at < image.size(); ++at) {
                const bool inside =
                    at >= std::size_t(f.offset) * 2 && at < std::size_t(f.offset + f.size) * 2;
                if (!inside) {
                    ASSERT_EQ(image[at], 'F') << f.name << " at " << at / 2;
                }
            }
        }
    }
}

TEST(Dvb98Settings, TimeOffset) {
    const std::pair<const char*, const char*> shown[] = {
        {"87", "+87"}, {"88", "-12"}, {"98", "-2"}, {"03", "+03"}, {"00", "+00"}};
    for (auto [byte, text] : shown)
        EXPECT_EQ(showTimeOffset(byte), text) << byte;
    const std::pair<const char*, const char*> written[] = {
        {"-2", "98"}, {"+3", "03"},  {"-12", "88"}, {"+87", "87"},
        {"3", "03"},  {"123", "23"}, {"", "00"}};
    for (auto [text, byte] : written)
        EXPECT_EQ(timeOffsetDigits(text), byte) << text;
}

TEST(Dvb98Settings, EveryControlWrittenBackUnchangedLeavesTheBlock) {
    for (unsigned seed = 1; seed <= 50; ++seed) {
        const std::string block = randomBlock(seed);
        std::string image = block;
        for (auto fields : {generalSettingFields(), furtherSettingFields()}) {
            for (const SettingField& f : fields)
                writeSetting(image, f, showSetting(image, f));
        }
        ASSERT_EQ(image, block) << seed;
        std::string colors = block;
        writeColors(colors, readColors(colors));
        ASSERT_EQ(colors, block) << seed;
    }
}

TEST(OsdColors, Conversions) {
    const std::uint32_t black = yuvToRgb("00000000");
    EXPECT_EQ(black, 126u << 8);
    EXPECT_EQ(rgbToYuv(0xFFFFFF, "00"), "3E3E2020");
    EXPECT_EQ(rgbToYuv(0xFFFFFF, "11"), "FEFEE0E0");
    EXPECT_EQ(transparencyOf("FEFEE0E0"), 3);
    EXPECT_EQ(transparencyBits(2), "10");
    EXPECT_EQ(transparencyBits(4), "");
    // Each primary uses its own coefficients of the receiver's YCbCr.
    const std::pair<std::uint32_t, const char*> primaries[] = {{0x0000FF, "1616163E"},
                                                               {0x00FF00, "26260C07"},
                                                               {0xFF0000, "0A0A3E1B"},
                                                               {0x336699, "1E1E1827"}};
    for (auto [rgb, yuv] : primaries)
        EXPECT_EQ(rgbToYuv(rgb, "00"), yuv) << std::hex << rgb;
    EXPECT_EQ(yuvToRgb("5A5AF070"), 0xD818BFu);
    EXPECT_EQ(yuvToRgb("B0B04010"), 0x00FF60u);
    // Greys come back as greys, close to what was chosen.
    for (std::uint32_t v = 32; v <= 224; v += 32) {
        const std::uint32_t rgb = yuvToRgb(rgbToYuv(v * 0x010101, "00"));
        for (int shift : {0, 8, 16}) {
            EXPECT_NEAR(static_cast<double>((rgb >> shift) & 0xFF), v, 6) << v;
        }
    }
}

TEST(OsdColors, ItemsWrittenToTheirOffsets) {
    const std::string block = randomBlock(7);
    auto values = readColors(block);
    values[1] = "11223344";  // "Menu Text": 1056 and 200
    values[2] = "55667788";  // "Menu Background": 1024 and 204
    values[5] = "99AABBCC";  // "TV short info text": 192
    std::string image = block;
    writeColors(image, values);
    // Each item at its offsets, and nothing else changed.
    std::string expected = block;
    for (auto [offset, hex] : {std::pair{1056, "11223344"},
                               {200, "11223344"},
                               {1024, "55667788"},
                               {204, "55667788"},
                               {192, "99AABBCC"}}) {
        expected = withByte(expected, offset, hex);
    }
    EXPECT_EQ(image, expected);
}

TEST(FtaSettings, DefaultAntennasAndRoundTrip) {
    const std::string block = bytesToHex(defaultSettingsBlock());
    // The eight entries as the reader keeps them: 20 hex digits of 0x8610, then the name.
    const auto oscillators = block.find("86100050") + 8;
    const char* names[] = {"ASTRA",   "HOTBIRD", "THOR",   "SIRIUS",
                           "ASTRA 2", "OTHER1",  "OTHER2", "OTHER3"};
    for (std::size_t i = 0; i < 8; ++i) {
        std::string name = names[i];
        name.resize(8, '\0');
        const std::string entry = block.substr(oscillators + 20 * i, 20) + name;
        const AntennaControls c = antennaControlsOf(entry);
        EXPECT_EQ(c.name, names[i]);
        EXPECT_EQ(c.lnbLow, "9750");
        EXPECT_EQ(c.lnbHigh, "10600");
        EXPECT_EQ(rebuildAntennaEntry(entry, c), entry) << i;
    }
}

TEST(FtaSettings, SwitchDigitLofAndDiseqc) {
    struct Case {
        const char* digit;
        int switchOutput, lofSelection;
    };
    const Case cases[] = {{"4", 0, 1}, {"C", 0, 1}, {"1", 1, 1}, {"3", 1, 0},
                          {"0", 2, 1}, {"2", 2, 0}, {"6", 0, 0}};
    for (const auto& c : cases) {
        const std::string entry = std::string("00002616000029680") + c.digit + "05NAME";
        const AntennaControls a = antennaControlsOf(entry);
        EXPECT_EQ(a.switchOutput, c.switchOutput) << c.digit;
        EXPECT_EQ(a.lofSelection, c.lofSelection) << c.digit;
        EXPECT_EQ(a.diseqc, 5);
    }
    // Only the last 4 hex digits of an oscillator above 65535 MHz are kept.
    const AntennaControls c{.name = "LONGNAME12",
                            .lnbLow = "9750",
                            .lnbHigh = "70000",
                            .diseqc = 6,
                            .switchOutput = 1,
                            .lofSelection = 0};
    EXPECT_EQ(rebuildAntennaEntry("AAAA1111BBBB2222C000", c), "0000261600001170C306LONGNAME");
}

TEST(FtaSettings, ADiseqcValueTheWindowCannotShowSurvivesOtherChanges) {
    const std::string entry = std::string("000026160000296800") + "0A" + "SAT";
    AntennaControls c = antennaControlsOf(entry);
    EXPECT_EQ(c.diseqc, 10);
    c.name = "OTHER";
    EXPECT_EQ(rebuildAntennaEntry(entry, c).substr(18, 2), "0A");
    c.diseqc = 3;  // chosen by the user
    EXPECT_EQ(rebuildAntennaEntry(entry, c).substr(18, 2), "03");
}

TEST(FtaSettings, ScreenFormatAndSecretCode) {
    for (bool is43 : {false, true}) {
        for (bool full : {false, true}) {
            const std::string stored = storeScreenFormat("00000000", {is43, full});
            EXPECT_EQ(showScreenFormat(stored).is4_3, is43);
            EXPECT_EQ(showScreenFormat(stored).full, full);
        }
    }
    EXPECT_EQ(storeScreenFormat("    ", {true, false}), "01000000");
    EXPECT_EQ(storeScreenFormat("A2B3C4D5", {false, true}), "A0B3C1D5");

    const std::string record =
        "E50100260000000100000000001800002"
        "49B0001";
    EXPECT_EQ(showSecretCode(record), "9371");
    EXPECT_EQ(showSecretCode("E5010026000000010000000000180000000A"), "0010");
    EXPECT_EQ(storeSecretCode(record, "0042").substr(32, 4), "002A");
    EXPECT_EQ(storeSecretCode(record, "1234").size(), record.size());
    EXPECT_EQ(storeSecretCode("E501", "1234"), "E501");
}

}  // namespace
}  // namespace qel
