#include "listedit/channel_data.h"

#include <algorithm>

#include "bytes/conversions.h"
#include "model/antenna_entry.h"

namespace qel {

namespace {

struct ServType {
    const char* name;
    const char* code;
};

constexpr ServType kServTypeTable[kServTypes] = {
    {"Reserved", "00"},         {"Digital TV service", "01"}, {"Digital Radio service", "02"},
    {"Teletext service", "03"}, {"NVOD ref. service", "04"},  {"NVOD timeshift  service", "05"},
    {"Mosaic service", "06"},   {"PAL coded system", "07"},   {"SECAM coded system", "08"},
    {"D/D2MAC", "0A"},          {"FM RAdio", "0B"},           {"Text service", "0C"},
    {"Application $B1", "B1"},  {"Application $B2", "B2"},    {"Unknown", ""},
};

FixedText<4> ChannelRec::*const kPairFields[kPairs] = {
    &ChannelRec::VPid,   &ChannelRec::APid,   &ChannelRec::PPid, &ChannelRec::NetId,
    &ChannelRec::TsId,   &ChannelRec::SerId,  &ChannelRec::TrId, &ChannelRec::PmtPid,
    &ChannelRec::PmcPid, &ChannelRec::TxtPid,
};

std::string last(std::string s, std::size_t n) {
    return s.size() > n ? s.substr(s.size() - n) : s;
}

int bits(std::string_view hexByte, const Field& field) {
    return static_cast<int>(fromBinary(field.in(toBinary(hexToDec(hexByte), 8))));
}

std::string hexOfBits(const std::string& bits) {
    return last("00" + toHex(static_cast<std::uint32_t>(fromBinary(bits))), 2);
}

}  // namespace

const char* servTypeName(std::size_t index) {
    return kServTypeTable[std::min(index, kServTypes - 1)].name;
}

int servTypeIndex(std::string_view code) {
    for (std::size_t i = 0; i + 1 < kServTypes; ++i) {
        if (code == kServTypeTable[i].code) return static_cast<int>(i);
    }
    return static_cast<int>(kServTypes - 1);
}

std::string leaveHexBox(std::string_view hexText) {
    return pad4(hexText);
}

std::string decimalOfHex(std::string_view hexText) {
    return std::to_string(hexToDec(hexText));
}

std::string leaveDecimalBox(std::string_view decText) {
    return std::to_string(std::clamp<std::int64_t>(decimalValue(trimBlanks(decText)), 0, 0xFFFF));
}

std::string hexOfDecimal(std::string_view decText) {
    return pad4(toHex(static_cast<std::uint32_t>(std::stoll(leaveDecimalBox(decText)))));
}

int bandAfterFrequency(std::string_view freq1) {
    return decimalValue(freq1) <= 11800 ? 0 : 1;
}

DataFields dataFieldsOf(const ChannelRec& ch, FileKind fileType) {
    DataFields f;
    f.name = std::string(trimBlanks(ch.ChName.view()));
    f.freq1 = std::string(channel_part::kFreqMhz.in(ch.Freq.view()));
    f.freq2 = std::string(channel_part::kFreqFraction.in(ch.Freq.view()));
    f.pol = static_cast<int>(decimalValue(ch.Pol.view()));
    f.srate1 = std::string(channel_part::kSrateMsym.in(ch.Srate.view()));
    f.srate2 = std::string(channel_part::kSrateKsymPart.in(ch.Srate.view()));
    f.fec = static_cast<int>(decimalValue(ch.Fec.view()));
    f.sat = ch.Sat.str();
    const bool fta = fileType == FileKind::BIN;
    if (fta) {
        f.lohi = static_cast<int>(decimalValue(ch.LoHi.view()));
    } else {
        f.lohi = decimalValue(f.freq1) > 11700 ? 1 : 0;
    }
    for (std::size_t i = 0; i < kPairs; ++i)
        f.hex[i] = (ch.*kPairFields[i]).str();
    f.acbw = ch.Acbw.str();
    if (fta) {
        f.ant = static_cast<int>(decimalValue(channel_part::kAntennaDigit.in(ch.Ant.view())));
    } else {
        using namespace channel_part;
        f.audio = bits(ch.AvFlags.view(), kAudioBits);
        f.volt = bits(ch.AvFlags.view(), kVoltageBit);
        f.video = bits(ch.AvFlags.view(), kVideoBits);
        const std::string_view low = kLowByte.in(ch.TuneFlags.view());
        f.spectr = bits(low, kSpectralBits);
        f.diseqc = bits(low, kDiseqcBits);
        f.autoPid = ch.AutoPid == "1" ? 1 : 0;
        f.autoPmt = ch.AutoPmt == "1" ? 1 : 0;
        f.servType = servTypeIndex(ch.ServType.view());
        f.parental = ch.Parental == "1";
    }
    return f;
}

ChannelRec channelOfFields(const DataFields& f, const ChannelRec& previous, FileKind fileType) {
    const DataFields was = dataFieldsOf(previous, fileType);
    const bool fta = fileType == FileKind::BIN;
    ChannelRec ch = previous;
    if (f.name != was.name) ch.ChName = f.name;
    const bool freqChanged = f.freq1 != was.freq1 || f.freq2 != was.freq2;
    if (freqChanged) ch.Freq = last("000000" + f.freq1, 6) + last("00" + f.freq2, 2);
    if (f.pol != was.pol) ch.Pol = std::to_string(f.pol);
    if (f.srate1 != was.srate1 || f.srate2 != was.srate2) {
        ch.Srate = last("00" + f.srate1, 2) + (f.srate2 + "0000").substr(0, 4);
    }
    if (f.fec != was.fec) ch.Fec = std::to_string(f.fec);
    if (f.sat != was.sat) ch.Sat = last("000" + f.sat, 3);
    // A DVB98 list does not store the band: it follows a frequency the user changed.
    if (f.lohi != was.lohi || (!fta && freqChanged)) ch.LoHi = std::to_string(f.lohi);
    for (std::size_t i = 0; i < kPairs; ++i) {
        if (f.hex[i] != was.hex[i]) ch.*kPairFields[i] = pad4(f.hex[i]);
    }
    if (f.acbw != was.acbw) ch.Acbw = f.acbw;
    if (fta) {
        if (f.ant != was.ant && f.ant >= 0 && f.ant <= 9)
            ch.Ant = "00" + std::to_string(f.ant) + "0";
        return ch;
    }
    using namespace channel_part;
    std::string high = toBinary(hexToDec(kHighByte.in(previous.TuneFlags.view())), 8);
    std::string low = toBinary(hexToDec(kLowByte.in(previous.TuneFlags.view())), 8);
    // A DVB98 record keeps the polarisation in bit 0 of the flags' first byte.
    if (f.pol != was.pol) putField(high, kPolarisationBit, f.pol == 1 ? "1" : "0");
    if (f.spectr != was.spectr) putField(low, kSpectralBits, toBinary(f.spectr, 2));
    if (f.diseqc != was.diseqc) putField(low, kDiseqcBits, toBinary(f.diseqc, 2));
    ch.TuneFlags = hexOfBits(high) + hexOfBits(low);
    if (f.autoPid != was.autoPid) ch.AutoPid = f.autoPid == 1 ? "1" : "0";
    if (f.autoPmt != was.autoPmt) ch.AutoPmt = f.autoPmt == 1 ? "1" : "0";
    if (f.audio != was.audio || f.volt != was.volt || f.video != was.video) {
        std::string av = toBinary(hexToDec(previous.AvFlags.view()), 8);
        if (f.audio != was.audio) putField(av, kAudioBits, toBinary(f.audio, 2));
        if (f.volt != was.volt) putField(av, kVoltageBit, f.volt == 1 ? "1" : "0");
        if (f.video != was.video) putField(av, kVideoBits, toBinary(f.video, 2));
        ch.AvFlags = hexOfBits(av);
    }
    if (f.servType != was.servType && f.servType >= 0 &&
        static_cast<std::size_t>(f.servType) + 1 < kServTypes) {
        ch.ServType = kServTypeTable[static_cast<std::size_t>(f.servType)].code;
    }
    if (f.parental != was.parental) ch.Parental = f.parental ? "1" : "0";
    return ch;
}

AntennaView antennaViewOf(std::string_view e, std::string_view previousDiseqc) {
    const AntennaValues a = antennaValuesOf(e);
    AntennaView v;
    v.satName = a.name;
    v.lnbLow = std::to_string(a.lnbLow);
    v.lnbHigh = std::to_string(a.lnbHigh);
    static const char* const kSwitch[] = {"Inactive", "0 V", "12 V"};
    v.switchText = kSwitch[a.switchOutput];
    v.lof = a.lofSelection == 0 ? " Freq." : "Diseqc";
    static const char* const kDiseqc[] = {"None",     "MinA",     "MinB",    "DiSEqC 1",
                                          "DiSEqC 2", "DiSEqC 3", "DiSEqC 4"};
    const int d = a.diseqc;
    v.diseqc = d >= 0 && d <= 6 ? kDiseqc[d] : std::string(previousDiseqc);
    return v;
}

}  // namespace qel
