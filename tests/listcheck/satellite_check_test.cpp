// A list checked against a satellites.xml: the frequency window at its edges, polarization
// and symbol rate, the nearest transponder named, which channels belong to which group and
// which are checked; the take-over of a changed symbol rate or FEC; the fill of an FTA
// image's transponders for one antenna within the image's limits.
#include "listcheck/satellite_check.h"

#include <gtest/gtest.h>

#include "bytes/conversions.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using enum SatPolarization;

SatTransponder tp(std::int64_t khz, SatPolarization pol, std::int64_t rate = 22000000,
                  int fec = 3) {
    return {khz, rate, pol, fec, 0, 0};
}

ChannelRec header(std::string_view name) {
    return Channel(name).Freq("00000000");
}

Channel channel(std::string_view freq, std::string_view pol = "0",
                std::string_view srate = "220000") {
    return Channel("CH").Freq(freq).Pol(pol).Srate(srate).Fec("3");
}

SatellitesFile fileOf(std::vector<SatTransponder> tps, int position = 192,
                      std::string name = "Astra") {
    SatellitesFile f;
    f.sats.push_back({std::move(name), position, 0, std::move(tps)});
    return f;
}

struct Checked {
    std::vector<Finding> findings;
    std::vector<TakeOverChange> takeOver;
};

Checked run(const SatellitesFile& file, const ChannelList& tv, const ChannelList& radio,
            const SatAssignment& assignment, bool fta = false) {
    const SatelliteCheckInput in{&tv, &radio, fta, &file, &assignment};
    return {checkAgainstSatellites(in), proposeTakeOver(in)};
}

const SatAssignment kAstra{{SatGroup{SatGroupKind::Header, "ASTRA", 0}, 192}};

TEST(SatelliteCheck, TheFrequencyWindowIsTwoMegahertzFromTenThousandKsymAndOneBelow) {
    EXPECT_EQ(frequencyToleranceKhz(100000), 2000);
    EXPECT_EQ(frequencyToleranceKhz(99999), 1000);
    EXPECT_EQ(frequencyToleranceKhz(0), 1000);
    EXPECT_EQ(frequencyToleranceKhz(450000), 2000);
}

// Each case's finding as "field|the arguments after the satellite", empty for none.
TEST(SatelliteCheck, WarnsAboutChannelsWithoutTheirTransponderAndNamesTheNearest) {
    const SatTransponder h11494 = tp(11494000, Horizontal);
    const SatTransponder h11000 = tp(11000000, Horizontal);
    const SatTransponder h11600 = tp(11600000, Horizontal);
    const struct {
        const char* what;
        std::vector<SatTransponder> tps;
        Channel ch;
        std::string expected;
    } kCases[] = {
        // clang-format off
        {"exact", {h11494}, channel("01149400"), ""},
        {"2 MHz above", {h11494}, channel("01149600"), ""},
        {"2 MHz below", {h11494}, channel("01149200"), ""},
        {"2.01 MHz above", {h11494}, channel("01149601"), "Freq|11496.01|2|11494 MHz H 22000 ksym/s"},
        {"2.01 MHz below", {h11494}, channel("01149199"), "Freq|11491.99|2|11494 MHz H 22000 ksym/s"},
        {"10000 ksym/s: 2 MHz", {tp(11494000, Horizontal, 10000000)}, channel("01149600", "0", "100000"), ""},
        {"9999.9 ksym/s: 1 MHz", {tp(11494000, Horizontal, 9999900)}, channel("01149500", "0", "099999"), ""},
        {"9999.9 ksym/s: 1.01 MHz", {tp(11494000, Horizontal, 9999900)}, channel("01149501", "0", "099999"),
         "Freq|11495.01|1|11494 MHz H 9999.9 ksym/s"},
        {"other polarization", {tp(11494000, Vertical)}, channel("01149400"), "Pol|11494|H|11494 MHz V 22000 ksym/s"},
        {"L is tuned as H", {tp(11494000, Left)}, channel("01149400", "0"), ""},
        {"R is tuned as V", {tp(11494000, Right)}, channel("01149400", "1"), ""},
        {"L is not V", {tp(11494000, Left)}, channel("01149400", "1"), "Pol|11494|V|11494 MHz L 22000 ksym/s"},
        {"symbol rate 1 ksym/s off", {tp(11494000, Horizontal, 22001000)}, channel("01149400"), ""},
        {"symbol rate 1.1 ksym/s off", {tp(11494000, Horizontal, 22001100)}, channel("01149400"),
         "Srate|11494|H|22000|11494 MHz H 22001.1 ksym/s"},
        {"symbol rate below", {tp(11494000, Horizontal, 21998900)}, channel("01149400"),
         "Srate|11494|H|22000|11494 MHz H 21998.9 ksym/s"},
        {"nearest of the same polarization", {h11000, h11600, tp(11561000, Vertical)}, channel("01155000"),
         "Freq|11550|2|11600 MHz H 22000 ksym/s"},
        {"halfway: the lower", {h11000, h11600}, channel("01130000"), "Freq|11300|2|11000 MHz H 22000 ksym/s"},
        {"nearest in the window",
         {tp(11492500, Horizontal, 27500000), tp(11494500, Horizontal, 30000000), tp(11495500, Horizontal, 27500000)},
         channel("01149400"), "Srate|11494|H|22000|11494.5 MHz H 30000 ksym/s"},
        {"halfway in the window: the lower", {tp(11495000, Horizontal, 27500000), tp(11493000, Horizontal, 30000000)},
         channel("01149400"), "Srate|11494|H|22000|11493 MHz H 30000 ksym/s"},
        {"nearest below", {h11000, h11600}, channel("01129900"), "Freq|11299|2|11000 MHz H 22000 ksym/s"},
        {"nearest of the other polarization when it has none", {tp(11000000, Vertical)}, channel("01155000"),
         "Freq|11550|2|11000 MHz V 22000 ksym/s"},
        {"satellite without transponders", {}, channel("01155000"), "Freq|11550|2|-"},
        // clang-format on
    };
    const auto joined = [](const Finding& f) {
        EXPECT_EQ(f.message, f.field == "Freq"  ? FindingMessage::SatNoFrequency
                             : f.field == "Pol" ? FindingMessage::SatNoPolarization
                                                : FindingMessage::SatOtherSymbolRate);
        EXPECT_EQ(f.args.at(0), "19.2E Astra");
        std::string text = f.field;
        for (std::size_t i = 1; i < f.args.size(); ++i)
            text += "|" + f.args[i];
        return text;
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const auto out = run(fileOf(c.tps), {header("ASTRA"), c.ch}, {}, kAstra).findings;
        ASSERT_EQ(out.size(), c.expected.empty() ? 0u : 1u);
        if (out.empty()) continue;
        EXPECT_EQ(joined(out[0]), c.expected);
        EXPECT_EQ(out[0].level, FindingLevel::Warning);
        EXPECT_EQ(out[0].kind, FindingKind::Transponder);
        EXPECT_EQ(out[0].list, ListId::TV);
        EXPECT_EQ(out[0].row, 2);
    }
}

TEST(SatelliteCheck, FindingsReadInEnglishAndItalian) {
    const auto out = run(fileOf({tp(11494000, Horizontal)}, 192, "Astra \xC3\xA9"),
                         {header("ASTRA"), channel("01149601")}, {}, kAstra)
                         .findings;
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(findingText(out[0], TextLanguage::English),
              "No transponder of 19.2E Astra \xE9 within 2 MHz of 11496.01 MHz; nearest: 11494 "
              "MHz H 22000 ksym/s");
    EXPECT_EQ(findingText(out[0], TextLanguage::Italian),
              "Nessun transponder di 19.2E Astra \xE9 entro 2 MHz da 11496.01 MHz; il pi\xF9 "
              "vicino: 11494 MHz H 22000 ksym/s");
    EXPECT_EQ(kindName(out[0].kind), "transponder");
    // A name that begins with the position, as Enigma2's do, is not given it twice; a
    // satellite without a name is its position.
    for (const auto& [name, shown] :
         {std::pair{"19.2E Astra 1KR", "19.2E Astra 1KR"}, std::pair{"", "19.2E"},
          std::pair{"19.2 Astra", "19.2E 19.2 Astra"}}) {
        const auto named = run(fileOf({tp(11494000, Horizontal)}, 192, name),
                               {header("ASTRA"), channel("01149601")}, {}, kAstra)
                               .findings;
        ASSERT_EQ(named.size(), 1u);
        EXPECT_EQ(named[0].args.at(0), shown);
    }
}

TEST(SatelliteCheck, HeadersGroupTheChannelsAfterThemAndOnlyAssignedGroupsAreChecked) {
    const Channel bad = channel("01260000");
    const ChannelList tv = {
        bad.rec(),      header("  ASTRA "), Channel(bad).name("A1"),   header("HOTBIRD"), bad.rec(),
        header("THOR"), bad.rec(),          Channel(bad).Freq("NO TS")};
    const ChannelList radio = {header("ASTRA"), Channel(bad).name("A2")};
    const SatAssignment assignment{{SatGroup{SatGroupKind::Header, "ASTRA", 0}, 192},
                                   {SatGroup{SatGroupKind::Header, "THOR", 0}, -8}};
    const auto out = run(fileOf({tp(11494000, Horizontal)}), tv, radio, assignment).findings;
    ASSERT_EQ(out.size(), 2u) << "HOTBIRD unassigned, THOR not in the file, row 1 before any";
    EXPECT_EQ(out[0].list, ListId::TV);
    EXPECT_EQ(out[0].row, 3);
    EXPECT_EQ(out[0].name, "A1");
    EXPECT_EQ(out[1].list, ListId::Radio);
    EXPECT_EQ(out[1].row, 2);

    const std::vector<SatGroup> groups = satelliteGroups(tv, radio, false);
    const std::vector<SatGroup> expected = {{SatGroupKind::Header, "ASTRA", 0},
                                            {SatGroupKind::Header, "HOTBIRD", 0},
                                            {SatGroupKind::Header, "THOR", 0}};
    EXPECT_EQ(groups, expected);
    // A list with headers groups by them even where the other list has none.
    EXPECT_EQ(satelliteGroups({bad}, radio, false), (std::vector<SatGroup>{expected[0]}));
}

TEST(SatelliteCheck, WithoutHeadersADvb98ListGroupsByDiseqcPortAndAnImageByAntenna) {
    const Channel bad = channel("01260000");
    const ChannelList dvb = {Channel(bad).TuneFlags("0000"), Channel(bad).TuneFlags("00FE"),
                             Channel(bad).TuneFlags("0103"), Channel(bad).TuneFlags("000C")};
    EXPECT_EQ(satelliteGroups(dvb, {}, false),
              (std::vector<SatGroup>{{SatGroupKind::DiseqcPort, "", 1},
                                     {SatGroupKind::DiseqcPort, "", 3},
                                     {SatGroupKind::DiseqcPort, "", 4}}));
    const SatAssignment port4{{SatGroup{SatGroupKind::DiseqcPort, "", 4}, 192}};
    const auto dvbOut = run(fileOf({tp(11494000, Horizontal)}), dvb, {}, port4).findings;
    ASSERT_EQ(dvbOut.size(), 1u);
    EXPECT_EQ(dvbOut[0].row, 3);

    const ChannelList image = {Channel(bad).Ant("0020"), Channel(bad).Ant("0000"),
                               Channel(bad).Ant("0090"), Channel(bad).Ant("0080"),
                               Channel(bad).Ant("0020").Freq("NO TS")};
    EXPECT_EQ(
        satelliteGroups(image, {}, true),
        (std::vector<SatGroup>{{SatGroupKind::Antenna, "", 2}, {SatGroupKind::Antenna, "", 8}}));
    const SatAssignment ant2{{SatGroup{SatGroupKind::Antenna, "", 2}, 192}};
    const auto imageOut = run(fileOf({tp(11494000, Horizontal)}), image, {}, ant2, true).findings;
    ASSERT_EQ(imageOut.size(), 1u) << "the channel without a transponder is not looked up";
    EXPECT_EQ(imageOut[0].row, 1);
    // The same list as DVB98 records knows no antennas.
    EXPECT_TRUE(run(fileOf({tp(11494000, Horizontal)}), image, {}, ant2, false).findings.empty());
}

TEST(SatelliteCheck, TakeOverOffersTheSymbolRateAndFecOfTheOnePartner) {
    const struct {
        const char* what;
        std::vector<SatTransponder> tps;
        std::optional<std::string> srate;
        std::optional<char> fec;
        bool fecNotTaken;
        bool offered;
    } kCases[] = {
        // clang-format off
        {"symbol rate", {tp(11495000, Horizontal, 27500000, 3)}, "275000", {}, false, true},
        {"FEC", {tp(11494000, Horizontal, 22000000, 4)}, {}, '4', false, true},
        {"FEC 1/2", {tp(11494000, Horizontal, 22000000, 1)}, {}, '1', false, true},
        {"no FEC: the channel's 0", {tp(11494000, Horizontal, 22000000, 15)}, {}, '0', false, true},
        {"FEC 8/9 alone", {tp(11494000, Horizontal, 22000000, 6)}, {}, {}, true, false},
        {"FEC 6/7 with the rate", {tp(11494000, Horizontal, 27500000, 10)}, "275000", {}, true, true},
        {"rate rounded up", {tp(11494000, Horizontal, 22000050)}, "220001", {}, false, true},
        {"rate rounded down", {tp(11494000, Horizontal, 22000049)}, {}, {}, false, false},
        {"same values", {tp(11494000, Horizontal)}, {}, {}, false, false},
        {"two partners", {tp(11494000, Horizontal, 27500000), tp(11495000, Horizontal, 27500000)}, {}, {}, false, false},
        {"partner of the other polarization", {tp(11494000, Vertical, 27500000)}, {}, {}, false, false},
        {"beyond the window", {tp(11496010, Horizontal, 27500000)}, {}, {}, false, false},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const auto out =
            run(fileOf(c.tps), {header("ASTRA"), channel("01149400")}, {}, kAstra).takeOver;
        ASSERT_EQ(out.size(), c.offered ? 1u : 0u);
        if (!c.offered) continue;
        EXPECT_EQ(out[0].list, ListId::TV);
        EXPECT_EQ(out[0].index, 1u);
        EXPECT_EQ(out[0].srate, c.srate);
        EXPECT_EQ(out[0].fec, c.fec);
        EXPECT_EQ(out[0].fecNotTaken, c.fecNotTaken);
    }
}

TEST(SatelliteCheck, TakeOverSetsTheProposedValuesInTheirLists) {
    ChannelList tv = {header("ASTRA"), channel("01149400"), channel("01200000")};
    ChannelList radio = {header("ASTRA"), channel("01200000")};
    const SatellitesFile file =
        fileOf({tp(11494000, Horizontal, 27500000, 5), tp(12000000, Horizontal, 22000000, 2)});
    const auto changes = run(file, tv, radio, kAstra).takeOver;
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].partner, "11494 MHz H 27500 ksym/s");
    EXPECT_EQ(changes[2].list, ListId::Radio);
    std::vector<TakeOverChange> withStray = changes;
    withStray.push_back({ListId::TV, 99, "300000", '1', false, ""});  // ignored: no such row
    applyTakeOver(tv, radio, withStray);
    EXPECT_EQ(tv[1].Srate, "275000");
    EXPECT_EQ(tv[1].Fec, "5");
    EXPECT_EQ(tv[2].Srate, "220000");
    EXPECT_EQ(tv[2].Fec, "2");
    EXPECT_EQ(radio[1].Fec, "2");
    EXPECT_EQ(tv[0], header("ASTRA"));
    EXPECT_TRUE(run(file, tv, radio, kAstra).takeOver.empty()) << "nothing left to take";
}

Channel onAntenna(std::string_view name, std::string_view ant, std::string_view freq,
                  std::string_view ids) {
    return Channel(name)
        .Ant(ant)
        .Freq(freq)
        .Pol("0")
        .Srate("220000")
        .Fec("3")
        .NetId(ids)
        .TsId(ids)
        .SerId("0001")
        .VPid("0100")
        .Sat("192");
}

TEST(SatelliteCheck, FillRefreshesTheAntennasChannelsAndAddsPlaceholdersForTheRest) {
    const SatellitesSat sat{"Astra",
                            192,
                            0,
                            {tp(12603000, Right), tp(11495000, Horizontal, 22000000, 4),
                             tp(10729000, Vertical, 23000000), tp(11523000, Left, 22000000, 7)}};
    TvRadioLists lists;
    lists.tv = {onAntenna("ON TP", "0020", "01149400", "0001"),
                onAntenna("OTHER ANT", "0010", "01149400", "0002"),
                onAntenna("NO MATCH", "0020", "01270000", "0003"),
                Channel(header("HDR")).Ant("0020")};
    lists.radio = {Channel("TP 12000 H 27500").Ant("0020").Freq("01200000"),
                   Channel("TP 12000 H 27500").Ant("0010").Freq("01200000")};
    const FtaFill fill = fillFtaTransponders(lists, {}, {2, &sat, ListId::Radio});
    ASSERT_TRUE(fill.fits);
    EXPECT_EQ(fill.asked, 3u);
    EXPECT_EQ(fill.fitting, 3u);
    EXPECT_EQ(fill.refreshed, 1u);
    EXPECT_EQ(fill.dropped, 1u);
    EXPECT_EQ(fill.unmatched, 1u);

    ChannelList tv = lists.tv;
    tv[0].Freq = "01149500";
    tv[0].Fec = "4";
    EXPECT_EQ(fill.lists.tv, tv) << "only the matched channel of antenna 2 changes";
    ASSERT_EQ(fill.lists.radio.size(), 4u);
    EXPECT_EQ(fill.lists.radio[0], lists.radio[1]) << "antenna 1's placeholder stays";
    const struct {
        const char* name;
        const char* freq;
        const char* pol;
        const char* srate;
        const char* fec;
    } kAdded[] = {{"TP 10729 V 23000", "01072900", "1", "230000", "3"},
                  {"TP 11523 H 22000", "01152300", "0", "220000", "0"},
                  {"TP 12603 V 22000", "01260300", "1", "220000", "3"}};
    for (std::size_t i = 0; i < 3; ++i) {
        const ChannelRec& p = fill.lists.radio[i + 1];
        SCOPED_TRACE(kAdded[i].name);
        EXPECT_EQ(trimBlanks(p.ChName.view()), kAdded[i].name);
        EXPECT_EQ(p.Freq, kAdded[i].freq);
        EXPECT_EQ(p.Pol, kAdded[i].pol);
        EXPECT_EQ(p.Srate, kAdded[i].srate);
        EXPECT_EQ(p.Fec, kAdded[i].fec);
        EXPECT_EQ(p.Ant, "0020") << "on the antenna, as its channels";
        EXPECT_EQ(p.Sat, "192");
        EXPECT_TRUE(isPlaceholder(p));
    }
    EXPECT_FALSE(isPlaceholder(lists.tv[0]));
    // A channel of the receiver's is never taken for one, whatever its name.
    const Channel named("TP 12000 H 27500");
    for (const Channel& ch : {Channel(named).SerId("0001"), Channel(named).VPid("0100"),
                              Channel(named).APid("0101"), Channel(named).PPid("0100")}) {
        EXPECT_FALSE(isPlaceholder(ch));
    }

    // A second fill refreshes the first: its placeholders are replaced by the same ones.
    const FtaFill again = fillFtaTransponders(fill.lists, {}, {2, &sat, ListId::Radio});
    ASSERT_TRUE(again.fits);
    EXPECT_EQ(again.dropped, 3u);
    EXPECT_EQ(again.refreshed, 0u);
    EXPECT_EQ(again.lists.tv, fill.lists.tv);
    EXPECT_EQ(again.lists.radio, fill.lists.radio);

    // A channel between two transponders of its polarization keeps its values; the nearer
    // of the two counts as its own, the other gets a placeholder.
    const SatellitesSat two{
        "Two", 192, 0, {tp(11601500, Horizontal, 27500000), tp(11599000, Horizontal, 27500000)}};
    TvRadioLists between;
    between.tv = {onAntenna("BETWEEN", "0020", "01160000", "0001")};
    const FtaFill kept = fillFtaTransponders(between, {}, {2, &two, ListId::Radio});
    EXPECT_EQ(kept.refreshed, 0u);
    EXPECT_EQ(kept.lists.tv, between.tv);
    ASSERT_EQ(kept.lists.radio.size(), 1u);
    EXPECT_EQ(trimBlanks(kept.lists.radio[0].ChName.view()), "TP 11601 H 27500");

    // Into the TV list, on an antenna no channel is on.
    const FtaFill empty = fillFtaTransponders({}, {}, {3, &sat, ListId::TV});
    ASSERT_TRUE(empty.fits);
    ASSERT_EQ(empty.lists.tv.size(), 4u);
    EXPECT_TRUE(empty.lists.radio.empty());
    EXPECT_EQ(empty.lists.tv[0].Ant, "0030");
}

TEST(SatelliteCheck, FillRefusesWhatTheImageCannotHoldWithTheCount) {
    SatellitesSat sat{"Many", 130, 0, {}};
    for (int i = 0; i < 300; ++i)
        sat.transponders.push_back(tp(10700000 + i * 5000, Horizontal));
    TvRadioLists lists;
    lists.tv = {onAntenna("A", "0010", "01270000", "0001"),
                onAntenna("B", "0030", "01149400", "0002"),
                onAntenna("C", "0030", "01149400", "0002")};
    const FtaFill refused = fillFtaTransponders(lists, {}, {1, &sat, ListId::Radio});
    EXPECT_FALSE(refused.fits);
    EXPECT_EQ(refused.asked, 300u);
    EXPECT_EQ(refused.fitting, 254u) << "256 records, two taken by the channels' transponders";
    EXPECT_TRUE(refused.lists.tv.empty());
    EXPECT_TRUE(refused.lists.radio.empty());

    sat.transponders.resize(254);
    const FtaFill exact = fillFtaTransponders(lists, {}, {1, &sat, ListId::Radio});
    EXPECT_TRUE(exact.fits);
    EXPECT_EQ(exact.fitting, 254u);
    EXPECT_EQ(exact.lists.radio.size(), 254u);
    sat.transponders.resize(255);
    EXPECT_EQ(fillFtaTransponders(lists, {}, {1, &sat, ListId::Radio}).fitting, 254u);

    // Lists the image cannot hold already: none fits.
    TvRadioLists full = lists;
    for (int i = 0; i < 256; ++i)
        full.tv.push_back(onAntenna("X", "0020", "01149400", pad4(toHex(0x100U + i))));
    const FtaFill none = fillFtaTransponders(full, {}, {1, &sat, ListId::Radio});
    EXPECT_FALSE(none.fits);
    EXPECT_EQ(none.fitting, 0u);
    EXPECT_EQ(none.asked, 255u);

    EXPECT_FALSE(fillFtaTransponders(lists, {}, {0, &sat, ListId::Radio}).fits);
    EXPECT_FALSE(fillFtaTransponders(lists, {}, {9, &sat, ListId::Radio}).fits);
    EXPECT_FALSE(fillFtaTransponders(lists, {}, {1, nullptr, ListId::Radio}).fits);
}

}  // namespace
}  // namespace qel
