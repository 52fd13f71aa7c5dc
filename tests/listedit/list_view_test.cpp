#include "listedit/list_view.h"

#include <gtest/gtest.h>

#include "files/ant_pos_file.h"
#include "support/channel_builder.h"
#include "support/workspace_builder.h"

namespace qel {
namespace {

using test::Channel;

TEST(ListView, RowTextAndIcons) {
    EXPECT_EQ(rowText(2, Channel("  x[RAI] 1[ UNO] ")), "0003    RAI UNO");
    EXPECT_EQ(rowText(12344, Channel("A")), "2345    A");  // row numbers keep four digits
    EXPECT_EQ(iconOf(Channel("H")), RowIcon::Header);
    EXPECT_EQ(iconOf(Channel("H").Parental("1")), RowIcon::Header);
    EXPECT_EQ(iconOf(Channel("P").Freq("01176600").Parental("1")), RowIcon::Parental);
    EXPECT_EQ(iconOf(Channel("C").Freq("01176600")), RowIcon::None);
    EXPECT_EQ(iconOf(Channel("N").Freq("NO TS")), RowIcon::None);  // no header icon...
    EXPECT_TRUE(isSatelliteHeader(Channel("N").Freq("NO TS")));    // ...but no frequency either
}

TEST(ListView, DataRowOfAChannel) {
    Channel c("[RAI] 1");
    c.Freq("01176675").Pol("1").Srate("275009").Fec("3").VPid("0200").APid("1FFF");
    const ChannelRec ch = c.PPid("0201").TuneFlags("000E").AutoPid("1").Ant("0030");
    const SatPosTable none;
    EXPECT_EQ(dataRowText(ch, 0, FileKind::DVB, none, ""),
              "RAI         11766 V 27500 3/4 0512 8191 0513 LNB 3 AutoPid");
    EXPECT_EQ(dataRowText(Channel(ch).AutoPmt("1").Pol("0").Fec("9"), 0, FileKind::BIN, none, ""),
              "RAI         11766 H 275000512 8191 0513 Ant 3 AutoPmt&Pid");
    // A long name is not cut; a short frequency is left-aligned in five places.
    EXPECT_EQ(dataRowText(Channel("A VERY LONG NAME").Freq("00095000").Fec("0"), 0, FileKind::DVB,
                          none, ""),
              "A VERY LONG NAME  950   H 00000  0  0000 0000 0000 LNB 1");
}

TEST(ListView, DataRowOfASatelliteHeader) {
    const SatPosTable table = parseAntPos(defaultAntPosText());
    const std::string stab = "  STAB rotor position is ";
    const std::pair<const char*, std::string> cases[] = {
        {"0000", "--- HB ---"},
        {"0001", "--- HB ---  STAB rotor position is  1 HotBird         13\260  E"},
        {"0016", "--- HB ---  STAB rotor position is 22 Turksat 1C      42\260  E"},
        {"0017", "--- HB ---  STAB rotor position is 23"},  // beyond the table's lines
        {"0030", "--- HB ---  STAB rotor position is 48"},
        {"0031", "--- HB ---"},
    };
    for (const auto& [apid, text] : cases) {
        EXPECT_EQ(dataRowText(Channel("--- HB ---").APid(apid), 0, FileKind::DVB, table, stab),
                  text)
            << apid;
    }
}

TEST(ListView, CommandsByStateFileTypeAndSettings) {
    Workspace ws;
    MainCommands c = mainCommands(ws, true);
    EXPECT_FALSE(c.insert || c.edit || c.settings || c.tvRadio || c.buffer);
    EXPECT_TRUE(c.search && c.exportList);  // offered whatever the lists hold

    ws.installChannels({{}, FileKind::DVB, {}});  // an empty DVB98 file
    c = mainCommands(ws, true);
    EXPECT_TRUE(c.insert && c.tvRadio && c.upgrade && c.convert);
    EXPECT_FALSE(c.edit || c.deleteMarked || c.moveToBuffer || c.settings);
    EXPECT_TRUE(c.search);  // an empty list can be searched

    test::setLists(ws, {Channel("A").Freq("01100000")});
    c = mainCommands(ws, false);
    EXPECT_TRUE(c.edit && c.deleteMarked && c.moveToBuffer && c.search && c.exportList);
    EXPECT_FALSE(c.settings);  // no DVB98 settings loaded
    ws.installSettings("4456534F" + std::string(kSettingsImageLength - 8, '0'));
    EXPECT_TRUE(mainCommands(ws, false).settings);
    c = mainCommands(ws, true);  // the blank row
    EXPECT_FALSE(c.edit || c.deleteMarked || c.moveToBuffer || c.settings);
    EXPECT_TRUE(c.insert);

    ws.installChannels({{ws.tvList(), {}}, FileKind::BIN, {}});  // unloads the settings
    c = mainCommands(ws, false);
    EXPECT_TRUE(c.settings);
    EXPECT_FALSE(c.upgrade || c.convert);

    EXPECT_FALSE(c.paste || c.buffer);
    test::setBuffer(ws, {Channel("B")});
    c = mainCommands(ws, false);
    EXPECT_TRUE(c.paste && c.buffer);
}

}  // namespace
}  // namespace qel
