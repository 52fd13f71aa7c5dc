#include "listedit/channel_data.h"

#include <gtest/gtest.h>

#include "files/dvb_file.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

ChannelRec dvb98Channel() {
    Channel c("[RAI] 1");
    c.Freq("01176600").Pol("1").LoHi("1").Srate("275000").Fec("3").Ant("0000");
    c.VPid("0200").APid("0201").PPid("0200").PmtPid("0100").PmcPid("0101").TxtPid("0300");
    c.NetId("013E").TsId("0C1C").SerId("0D49").Acbw("5A").TuneFlags("0109").AvFlags("93");
    return c.ServType("01").Parental("1").AutoPid("1").withMatchKey();
}

TEST(ChannelData, HexAndDecimalBoxes) {
    EXPECT_EQ(leaveHexBox("1a"), "001a");  // the key filter has already upper-cased typed keys
    EXPECT_EQ(leaveHexBox("1A"), "001A");
    EXPECT_EQ(decimalOfHex("001A"), "26");
    EXPECT_EQ(decimalOfHex(""), "0");
    EXPECT_EQ(decimalOfHex("XYZ"), "0");
    EXPECT_EQ(hexOfDecimal("8191"), "1FFF");
    // A number beyond the field is kept within it, in both boxes.
    EXPECT_EQ(leaveDecimalBox("99999"), "65535");
    EXPECT_EQ(hexOfDecimal("99999"), "FFFF");
    EXPECT_EQ(leaveDecimalBox("65535"), "65535");
    EXPECT_EQ(leaveDecimalBox(""), "0");
    EXPECT_EQ(hexOfDecimal(""), "0000");
    EXPECT_EQ(leaveHexBox("12345"), "2345");
}

TEST(ChannelData, BandRules) {
    EXPECT_EQ(bandAfterFrequency("011800"), 0);
    EXPECT_EQ(bandAfterFrequency("011801"), 1);
    // Opening a DVB98 channel: above 11700 is high.
    EXPECT_EQ(dataFieldsOf(Channel("A").Freq("01170000").LoHi("1"), FileKind::DVB).lohi, 0);
    EXPECT_EQ(dataFieldsOf(Channel("A").Freq("01170100").LoHi("0"), FileKind::DVB).lohi, 1);
    // An FTA channel shows its own band.
    EXPECT_EQ(dataFieldsOf(Channel("A").Freq("01170100").LoHi("0"), FileKind::BIN).lohi, 0);
}

TEST(ChannelData, FillingAndDefaults) {
    const DataFields f = dataFieldsOf(dvb98Channel(), FileKind::DVB);
    EXPECT_EQ(f.name, "[RAI] 1");
    EXPECT_EQ(f.freq1, "011766");
    EXPECT_EQ(f.freq2, "00");
    EXPECT_EQ(f.srate1, "27");
    EXPECT_EQ(f.srate2, "500");
    EXPECT_EQ(f.pol, 1);
    EXPECT_EQ(f.fec, 3);
    EXPECT_EQ(f.hex[static_cast<std::size_t>(Pair::NetId)], "013E");
    EXPECT_EQ(f.audio, 2);  // AvFlags 93: bits 7-6 = 10
    EXPECT_EQ(f.volt, 1);
    EXPECT_EQ(f.video, 3);   // NTSC
    EXPECT_EQ(f.spectr, 2);  // TuneFlags low byte 09: bits 3-2 = 10, bits 1-0 = 01
    EXPECT_EQ(f.diseqc, 1);
    EXPECT_EQ(f.servType, 1);
    EXPECT_TRUE(f.parental);
    EXPECT_EQ(f.autoPid, 1);
    EXPECT_EQ(f.ant, -1);

    EXPECT_EQ(dataFieldsOf(Channel("A").Pol("3"), FileKind::DVB).pol, 3);  // an extra entry
    EXPECT_EQ(dataFieldsOf(Channel("A").ServType("09"), FileKind::DVB).servType, 14);
    EXPECT_STREQ(servTypeName(14), "Unknown");
    EXPECT_STREQ(servTypeName(9), "D/D2MAC");
    EXPECT_EQ(dataFieldsOf(Channel("A").Ant("0010"), FileKind::BIN).ant, 1);
    EXPECT_EQ(dataFieldsOf(Channel("A").Ant("0000"), FileKind::BIN).ant, 0);
    EXPECT_EQ(dataFieldsOf(Channel("A").Ant("0080"), FileKind::BIN).ant, 8);
}

TEST(ChannelData, SavingTheControlsUnchangedKeepsTheChannel) {
    const ChannelRec ch = dvb98Channel();
    EXPECT_EQ(channelOfFields(dataFieldsOf(ch, FileKind::DVB), ch, FileKind::DVB), ch);
    // A channel read from a .dvb record and saved untouched is the record it was read from,
    // whatever its tuning flags and in either band.
    for (unsigned flags :
         {0x0000U, 0x0001U, 0x0002U, 0x0003U, 0x0100U, 0x0103U, 0x010FU, 0x120CU, 0xFFFFU}) {
        for (unsigned mhz : {11362U, 12188U}) {
            test::DvbRecord record;
            record.freqMHz(mhz).srateKs(27500).fecCode(4).TuneFlags(flags).name("KIDS");
            const std::string rec = record.bytes();
            const ChannelRec read = decodeDvbRecord(rec).value_or(ChannelRec{});
            const ChannelRec saved =
                channelOfFields(dataFieldsOf(read, FileKind::DVB), read, FileKind::DVB);
            EXPECT_EQ(saved, read) << std::hex << flags << " " << std::dec << mhz;
            std::string written;
            encodeDvbRecord(saved, false, written);
            EXPECT_EQ(written, rec) << std::hex << flags;
        }
    }
    // The band of a DVB98 channel follows a frequency the user changes.
    const ChannelRec low = Channel(ch).LoHi("0");
    DataFields moved = dataFieldsOf(low, FileKind::DVB);
    moved.freq1 = "012100";
    moved.lohi = bandAfterFrequency(moved.freq1);
    EXPECT_EQ(channelOfFields(moved, low, FileKind::DVB).LoHi.view(), "1");
    Channel ftaChannel("FTA");
    ftaChannel.Freq("01176600").Srate("275000").Sat("013").LoHi("1").Ant("0030").TrId("0007");
    const ChannelRec fta = ftaChannel.VPid("0100");
    EXPECT_EQ(channelOfFields(dataFieldsOf(fta, FileKind::BIN), fta, FileKind::BIN), fta);
}

TEST(ChannelData, SavingAssemblesTheFields) {
    const ChannelRec ch = dvb98Channel();
    DataFields f = dataFieldsOf(ch, FileKind::DVB);
    f.name = "NEW NAME";
    f.freq1 = "11800";
    f.freq2 = "5";
    f.srate1 = "5";
    f.srate2 = "12";
    f.sat = "7";
    f.pol = 0;
    f.spectr = 0;
    f.diseqc = 3;
    f.audio = 0;
    f.volt = 0;
    f.video = 0;
    f.servType = 14;  // "Unknown" keeps the code
    f.parental = false;
    f.autoPmt = 1;
    f.hex[static_cast<std::size_t>(Pair::VPid)] = "1a";
    const ChannelRec s = channelOfFields(f, ch, FileKind::DVB);
    EXPECT_EQ(s.ChName.view(), "NEW NAME            ");
    EXPECT_EQ(s.Freq.view(), "01180005");
    EXPECT_EQ(s.Srate.view(), "051200");
    EXPECT_EQ(s.Sat.view(), "007");
    EXPECT_EQ(s.TuneFlags.view(), "0003");  // first byte's bit 0 from the polarisation
    EXPECT_EQ(s.AvFlags.view(), "00");      // audio, 12 V and video all cleared
    EXPECT_EQ(s.ServType.view(), "01");
    EXPECT_EQ(s.Parental.view(), "0");
    EXPECT_EQ(s.AutoPmt.view(), "1");
    EXPECT_EQ(s.VPid.view(), "001a");
    EXPECT_EQ(s.Ant.view(), "0000");  // a DVB98 channel keeps its antenna word
    EXPECT_EQ(s.MatchKey, ch.MatchKey);

    DataFields other = dataFieldsOf(ch, FileKind::DVB);
    other.servType = 9;
    other.pol = 0;
    other.volt = 0;
    EXPECT_EQ(channelOfFields(other, Channel(ch).TuneFlags("A309"), FileKind::DVB).TuneFlags.view(),
              "A209");
    EXPECT_EQ(channelOfFields(other, ch, FileKind::DVB).ServType.view(), "0A");
    EXPECT_EQ(channelOfFields(other, Channel(ch).AvFlags("7F"), FileKind::DVB).AvFlags.view(),
              "AF");

    DataFields fta = dataFieldsOf(Channel("F").Ant("0010"), FileKind::BIN);
    fta.ant = 3;
    EXPECT_EQ(channelOfFields(fta, Channel("F"), FileKind::BIN).Ant.view(), "0030");
}

// Values no entry of a list names stay as they are unless the user changes that control.
TEST(ChannelData, ValuesTheListsCannotShowSurviveASave) {
    struct Case {
        const char* what;
        ChannelRec channel;
        FileKind type;
    };
    const Case cases[] = {
        {"spectral inversion 3", Channel(dvb98Channel()).TuneFlags("010C"), FileKind::DVB},
        {"FEC 7", Channel(dvb98Channel()).Fec("7"), FileKind::DVB},
        {"polarisation 3", Channel(dvb98Channel()).Pol("3"), FileKind::DVB},
        {"video bits 01", Channel(dvb98Channel()).AvFlags("01"), FileKind::DVB},
        {"FTA band 2", Channel("F").Freq("01176600").LoHi("2").Ant("0020"), FileKind::BIN},
        {"FTA antenna 0", Channel("F").Freq("01176600").Ant("0000"), FileKind::BIN},
        {"FTA antenna word 1234", Channel("F").Freq("01176600").Ant("1234"), FileKind::BIN},
        {"name with leading blanks", Channel("   SPACED").Freq("01176600"), FileKind::BIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(channelOfFields(dataFieldsOf(c.channel, c.type), c.channel, c.type), c.channel)
            << c.what;
    }
    // Changing one control writes that control only.
    DataFields f = dataFieldsOf(Channel(dvb98Channel()).TuneFlags("010C"), FileKind::DVB);
    EXPECT_EQ(f.spectr, 3);
    f.diseqc = 2;
    EXPECT_EQ(channelOfFields(f, Channel(dvb98Channel()).TuneFlags("010C"), FileKind::DVB)
                  .TuneFlags.view(),
              "010E");
    f.spectr = 1;
    EXPECT_EQ(channelOfFields(f, Channel(dvb98Channel()).TuneFlags("010C"), FileKind::DVB)
                  .TuneFlags.view(),
              "0106");
}

TEST(ChannelData, AntennaEntryDisplay) {
    struct Case {
        const char* entry;
        const char* sw;
        const char* lof;
        const char* diseqc;
    };
    const Case cases[] = {
        {"00002616000029680400ASTRA", "Inactive", "Diseqc", "None"},
        {"00002616000029684400HOTBIRD", "Inactive", "Diseqc", "None"},
        {"00002616000029681303X", "0 V", " Freq.", "DiSEqC 1"},
        {"00002616000029682206X", "12 V", " Freq.", "DiSEqC 4"},
        {"00002616000029680007X", "12 V", "Diseqc", "previous"},
    };
    for (const auto& c : cases) {
        const AntennaView v = antennaViewOf(c.entry, "previous");
        EXPECT_EQ(v.switchText, c.sw) << c.entry;
        EXPECT_EQ(v.lof, c.lof) << c.entry;
        EXPECT_EQ(v.diseqc, c.diseqc) << c.entry;
        EXPECT_EQ(v.lnbLow, "9750");
        EXPECT_EQ(v.lnbHigh, "10600");
    }
    EXPECT_EQ(
        antennaViewOf(std::string("00002616000029680400ASTRA") + std::string(3, '\0'), "").satName,
        "ASTRA");
}

}  // namespace
}  // namespace qel
