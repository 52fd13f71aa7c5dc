// The satellites.xml reader: units and codes as the file gives them, what it tolerates
// (declaration, comments, quotes, blanks, references, unknown attributes), the transponders it
// skips, and the input it refuses; the orbital positions as reports show and users write them.
#include "files/satellites_xml.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace qel {
namespace {

std::string wrapped(std::string_view sats) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<satellites>\n" + std::string(sats) +
           "</satellites>\n";
}

TEST(SatellitesXml, ReadsSatellitesAndTranspondersInTheFilesUnits) {
    const std::string text =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- a comment with <sat> in it -->\n"
        "<satellites>\n"
        "  <sat name=\"19.2E Astra 1KR/1L &amp; &quot;1M&quot; &#233;&#x20AC;\" flags=\"1\" "
        "position=\"192\">\n"
        "    <transponder frequency=\"11494000\" symbol_rate=\"22000000\" polarization=\"0\" "
        "fec_inner=\"4\" system=\"1\" modulation=\"2\" rolloff=\"0\" pilot=\"2\"/>\n"
        "    <transponder\n\tfrequency = '12603000'\n\tsymbol_rate='22000000' "
        "polarization='3' fec_inner='8'></transponder>\n"
        "  </sat>\n"
        "  <sat name='30.0W Hispasat' position='-300' flags='0'>\n"
        "    <transponder frequency=\"10730000\" symbol_rate=\"27500000\" polarization=\"1\"/>\n"
        "    <transponder frequency=\"10770000\" polarization=\"1\"/>\n"
        "    <transponder symbol_rate=\"27500000\" polarization=\"1\"/>\n"
        "    <transponder frequency=\"10800000\" symbol_rate=\"27500000\" />\n"
        "  </sat>\n"
        "  <sat name=\"empty\" position=\"0\"/>\n"
        "</satellites>\n";
    const auto file = parseSatellitesXml(text);
    ASSERT_TRUE(file.ok()) << file.detail();
    ASSERT_EQ(file->sats.size(), 3u);
    const SatellitesSat& astra = file->sats[0];
    EXPECT_EQ(astra.name, "19.2E Astra 1KR/1L & \"1M\" \xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(astra.position, 192);
    EXPECT_EQ(astra.flags, 1);
    const std::vector<SatTransponder> astraTps = {
        {11494000, 22000000, SatPolarization::Horizontal, 4, 1, 2},
        {12603000, 22000000, SatPolarization::Right, 8, 0, 0},
    };
    EXPECT_EQ(astra.transponders, astraTps);
    EXPECT_EQ(file->sats[1].position, -300);
    ASSERT_EQ(file->sats[1].transponders.size(), 1u);
    EXPECT_EQ(file->sats[1].transponders[0].polarization, SatPolarization::Vertical);
    EXPECT_TRUE(file->sats[2].transponders.empty());
    EXPECT_EQ(file->skippedTransponders, 3u) << "without symbol rate, frequency or polarization";
    EXPECT_EQ(file->atPosition(-300), &file->sats[1]);
    EXPECT_EQ(file->atPosition(130), nullptr);
}

TEST(SatellitesXml, ValuesAreBaseTenIntegersInRange) {
    const struct {
        const char* attribute;
        const char* value;
        bool ok;
    } kCases[] = {
        {"frequency", "11494000", true},
        {"frequency", " 11494000 ", true},
        {"frequency", "999999999", true},
        {"frequency", "1000000000", false},  // beyond the channel's 6 MHz digits
        {"frequency", "0", false},
        {"frequency", "-11494000", false},
        {"frequency", "11494000a", false},
        {"frequency", "0x10", false},
        {"frequency", "1.5", false},
        {"frequency", "", false},
        {"frequency", "+-5", false},
        {"frequency", "+11494000", true},
        {"frequency", "--5", false},
        {"frequency", "9223372036854775808", false},
        {"frequency", "99999999999999999999", false},  // overflow
        {"symbol_rate", "99999900", true},
        {"symbol_rate", "99999901", false},
        {"symbol_rate", "1", true},
        {"polarization", "3", true},
        {"polarization", "4", false},
        {"polarization", "-1", false},
        {"fec_inner", "15", true},
        {"fec_inner", "16", false},
        {"system", "1", true},
        {"system", "x", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.attribute) + "=" + c.value);
        std::string attrs;
        for (const char* name : {"frequency", "symbol_rate", "polarization"}) {
            if (std::string_view(name) != c.attribute)
                attrs += std::string(name) + "=\"" + (name[0] == 'p' ? "0" : "22000000") + "\" ";
        }
        attrs += std::string(c.attribute) + "=\"" + c.value + "\"";
        const auto file = parseSatellitesXml(
            wrapped("<sat position=\"130\">\n<transponder " + attrs + "/></sat>\n"));
        EXPECT_EQ(file.ok(), c.ok) << (file.ok() ? "" : file.detail());
        if (!file.ok()) {
            EXPECT_EQ(file.error(), ErrorCode::SatellitesXmlDamaged);
            EXPECT_NE(file.detail().find("line 4"), std::string::npos) << file.detail();
        }
    }
    const struct {
        const char* position;
        bool ok;
    } kPositions[] = {{"1800", true},  {"-1800", true}, {"1801", false}, {"-1801", false},
                      {"19.2", false}, {"", false},     {"+5", true},    {"+-5", false}};
    for (const auto& p : kPositions) {
        EXPECT_EQ(
            parseSatellitesXml(wrapped("<sat position=\"" + std::string(p.position) + "\"/>")).ok(),
            p.ok)
            << p.position;
    }
}

TEST(SatellitesXml, RefusesDamagedAndHostileInput) {
    using enum ErrorCode;
    const std::string tp = "<transponder frequency=\"1\" symbol_rate=\"1\" polarization=\"0\"/>";
    const struct {
        std::string text;
        ErrorCode code;
        const char* detail;
    } kCases[] = {
        {"", SatellitesXmlDamaged, "no <satellites>"},
        {"<?xml version=\"1.0\"?>\n<!-- only -->", SatellitesXmlDamaged, "no <satellites>"},
        {"<satellites>", SatellitesXmlDamaged, "never closed"},
        {"<satellites><sat position=\"1\">" + tp + "</satellites>", SatellitesXmlDamaged,
         "closes no open"},
        {"<satellites></satellites><satellites></satellites>", SatellitesXmlDamaged, "after"},
        {"<satellites/><sat position=\"1\"/>", SatellitesXmlDamaged, "after </satellites>"},
        {"<channels></channels>", SatellitesXmlDamaged, "not <satellites>"},
        {"<satellites>text</satellites>", SatellitesXmlDamaged, "text outside"},
        {"<satellites><sat position=\"1\"", SatellitesXmlDamaged, "unterminated tag"},
        {"<satellites><sat position=\"1/></satellites>", SatellitesXmlDamaged,
         "unterminated attribute"},
        {"<satellites><sat position=1/></satellites>", SatellitesXmlDamaged, "without quotes"},
        {"<satellites><sat position/></satellites>", SatellitesXmlDamaged, "without a value"},
        {"<satellites><sat position=\"1\"name=\"a\"/></satellites>", SatellitesXmlDamaged,
         "no blank"},
        {"<satellites><sat position=\"1\" position=\"2\"/></satellites>", SatellitesXmlDamaged,
         "twice"},
        {"<satellites><sat name=\"a\"/></satellites>", SatellitesXmlDamaged, "without a position"},
        {"<satellites><sat name=\"a<b\" position=\"1\"/></satellites>", SatellitesXmlDamaged,
         "'<'"},
        {"<satellites><sat name=\"&ext;\" position=\"1\"/></satellites>", SatellitesXmlDamaged,
         "unknown reference"},
        {"<satellites><sat name=\"&#0;\" position=\"1\"/></satellites>", SatellitesXmlDamaged,
         "unknown reference"},
        {"<satellites><sat name=\"a & b;\" position=\"1\"/></satellites>", SatellitesXmlDamaged,
         "unknown reference & b"},
        {"<satellites><sat name=\"&amp\" position=\"1\"/></satellites>", SatellitesXmlDamaged,
         "without ';'"},
        {"<satellites><!-- open </satellites>", SatellitesXmlDamaged, "unterminated comment"},
        {"<?xml version=\"1.0\"", SatellitesXmlDamaged, "unterminated declaration"},
        {"<satellites></satellites", SatellitesXmlDamaged, "unterminated closing"},
        {"<satellites></satellites x>", SatellitesXmlDamaged, "unterminated closing"},
        {"<satellites>< sat/></satellites>", SatellitesXmlDamaged, "without a name"},
        // Entity expansion and markup beyond the format's shape are refused on principle.
        {"<!DOCTYPE lolz [<!ENTITY lol \"lol\">]><satellites/>", SatellitesXmlRefused, "DOCTYPE"},
        {"<satellites><!ENTITY x \"y\"></satellites>", SatellitesXmlRefused, "ENTITY"},
        {"<satellites><![CDATA[x]]></satellites>", SatellitesXmlRefused, "declaration"},
        {"<satellites><sat position=\"1\"><transponder><x/></transponder></sat></satellites>",
         SatellitesXmlRefused, "nested deeper"},
        {"<satellites><a><b><c/></b></a></satellites>", SatellitesXmlRefused, "nested deeper"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        const auto file = parseSatellitesXml(c.text);
        ASSERT_FALSE(file.ok());
        EXPECT_EQ(file.error(), c.code);
        EXPECT_NE(file.detail().find(c.detail), std::string::npos) << file.detail();
    }
    // Elements the format does not have are passed over within its depth.
    const auto other =
        parseSatellitesXml("<satellites><info a=\"1\"><note/></info><sat position=\"5\"><extra/>" +
                           tp + "</sat></satellites>");
    ASSERT_TRUE(other.ok()) << other.detail();
    ASSERT_EQ(other->sats.size(), 1u);
    EXPECT_EQ(other->sats[0].transponders.size(), 1u);
}

// Character references in names become UTF-8; those XML does not allow are refused.
TEST(SatellitesXml, CharacterReferencesInNames) {
    const struct {
        const char* reference;
        std::optional<std::string> decoded;
    } kCases[] = {
        {"&#65;", "A"},
        {"&#x41;", "A"},
        {"&#9;", "\t"},
        {"&#xE9;", "\xC3\xA9"},
        {"&#x20AC;", "\xE2\x82\xAC"},
        {"&#xFFFD;", "\xEF\xBF\xBD"},
        {"&#x1F600;", "\xF0\x9F\x98\x80"},
        {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
        {"&lt;&gt;&apos;", "<>'"},
        {"&#8;", std::nullopt},
        {"&#xD800;", std::nullopt},
        {"&#xFFFE;", std::nullopt},
        {"&#x110000;", std::nullopt},
        {"&#000000065;", std::nullopt},
        {"&#;", std::nullopt},
        {"&#x;", std::nullopt},
        {"&#12a;", std::nullopt},
        {"&AMP;", std::nullopt},
    };
    for (const auto& c : kCases) {
        const auto file = parseSatellitesXml(
            wrapped("<sat name=\"" + std::string(c.reference) + "\" position=\"1\"/>"));
        ASSERT_EQ(file.ok(), c.decoded.has_value()) << c.reference;
        if (c.decoded) {
            EXPECT_EQ(file->sats.at(0).name, *c.decoded) << c.reference;
        }
    }
}

TEST(SatellitesXml, RefusesFilesAboveTheSizeLimitBeforeReadingThem) {
    std::string text = wrapped("");
    text.resize(kMaxSatellitesXmlSize, ' ');
    EXPECT_TRUE(parseSatellitesXml(text).ok()) << "blanks up to the limit are fine";
    text += ' ';
    EXPECT_EQ(parseSatellitesXml(text).error(), ErrorCode::FileTooLarge);

    test::TempDir dir;
    EXPECT_EQ(readSatellitesXml(dir.write("big.xml", text)).error(), ErrorCode::FileTooLarge);
    EXPECT_EQ(readSatellitesXml(dir.file("missing.xml")).error(), ErrorCode::CannotOpenFile);
    const auto read = readSatellitesXml(dir.write(
        "s.xml", wrapped("<sat name=\"x\" position=\"130\"><transponder frequency=\"10719000\" "
                         "symbol_rate=\"27500000\" polarization=\"1\"/></sat>")));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->sats.at(0).transponders.at(0).frequencyKhz, 10719000);
}

TEST(SatellitesXml, PolarizationsAsTheReceiverTunesThem) {
    using enum SatPolarization;
    const struct {
        SatPolarization pol;
        const char* letter;
        bool vertical;
    } kCases[] = {
        {Horizontal, "H", false}, {Vertical, "V", true}, {Left, "L", false}, {Right, "R", true}};
    for (const auto& c : kCases) {
        EXPECT_EQ(polarizationLetter(c.pol), c.letter);
        EXPECT_EQ(tunesVertical(c.pol), c.vertical) << c.letter;
    }
}

TEST(SatellitesXml, PositionsAsShownAndAsWritten) {
    const struct {
        int tenths;
        const char* text;
    } kShown[] = {{192, "19.2E"}, {-300, "30.0W"}, {0, "0.0E"}, {-5, "0.5W"}, {1800, "180.0E"}};
    for (const auto& s : kShown) {
        EXPECT_EQ(positionText(s.tenths), s.text);
        EXPECT_EQ(parsePosition(s.text), s.tenths) << s.text;
    }
    const struct {
        const char* text;
        std::optional<int> tenths;
    } kWritten[] = {
        {"19.2e", 192},
        {"13E", 130},
        {"30w", -300},
        {" 192 ", 192},
        {"-300", -300},
        {"1800", 1800},
        {"180.1E", std::nullopt},
        {"1801", std::nullopt},
        {"19.25E", std::nullopt},
        {"19.E", std::nullopt},
        {".5E", std::nullopt},
        {"E", std::nullopt},
        {"", std::nullopt},
        {"1x.2E", std::nullopt},
        {"19.2N", std::nullopt},
        {"-19.2E", std::nullopt},
    };
    for (const auto& w : kWritten)
        EXPECT_EQ(parsePosition(w.text), w.tenths) << w.text;

    // A satellite's label: its position once, whether its name begins with it or not.
    const struct {
        int tenths;
        const char* name;
        const char* label;
    } kLabels[] = {{130, "13.0E Hot Bird", "13.0E Hot Bird"},
                   {130, "Hot Bird 13.0E", "13.0E Hot Bird 13.0E"},
                   {-300, "", "30.0W"},
                   {192, "19.2 Astra \xC3\xA9", "19.2E 19.2 Astra \xC3\xA9"}};
    for (const auto& l : kLabels)
        EXPECT_EQ(satelliteLabel(SatellitesSat{l.name, l.tenths, 0, {}}), l.label) << l.name;
}

}  // namespace
}  // namespace qel
