#include "sample_list.h"

#include <string>

#include "bytes/conversions.h"
#include "receiver_settings/dvb98_settings.h"
#include "receiver_settings/osd_colors.h"

namespace qel::tool {

namespace {

struct Transponder {
    int mhz;
    int ksym;
    int fec;  // 0-5
    bool vertical;
    int netId;
    int tsId;
};

struct Satellite {
    const char* separator;
    Transponder tps[4];
};

constexpr Satellite kSatellites[] = {
    {"--- HOTBIRD 13E ---",
     {{10719, 27500, 3, true, 0x013E, 0x0C1C},
      {11034, 27500, 3, true, 0x013E, 0x1D4C},
      {11766, 27500, 2, false, 0x013E, 0x2FA8},
      {12380, 27500, 3, true, 0x013E, 0x3E80}}},
    {"--- ASTRA 19.2E ---",
     {{11362, 22000, 2, false, 0x0001, 0x0401},
      {11494, 22000, 2, false, 0x0001, 0x0421},
      {11836, 27500, 3, false, 0x0001, 0x0441},
      {12188, 27500, 3, false, 0x0001, 0x0461}}},
    {"--- EUTELSAT 16E ---",
     {{10972, 30000, 5, true, 0x0046, 0x0190},
      {11554, 29950, 3, false, 0x0046, 0x01A4},
      {12539, 30000, 2, true, 0x0046, 0x01B8},
      {12732, 27500, 3, false, 0x0046, 0x01CC}}},
};

constexpr const char* kTvNames[] = {
    "[NEWS] 24",   "Cinema One",  "[SPORT] Live", "Kids Planet", "Music Box",
    "Doc Channel", "Euro Travel", "History+",     "[METEO]",     "Cucina TV",
};
constexpr const char* kRadioNames[] = {
    "Radio Uno", "Classica FM", "Jazz Radio", "News Radio", "Rock 105",
};

std::string hex4(int v) {
    return pad4(toHex(static_cast<std::uint32_t>(v)));
}

ChannelRec separator(const char* name) {
    ChannelRec r = emptyChannel();
    r.ChName = name;
    r.MatchKey = buildMatchKey(r);
    return r;
}

ChannelRec tuned(const Transponder& tp, const std::string& name, int service, bool radio) {
    ChannelRec r = emptyChannel();
    r.ChName = name;
    r.Freq = zeroPadDecimal(tp.mhz, 6) + "00";
    r.Srate = zeroPadDecimal(tp.ksym, 5) + "0";
    r.Fec = std::to_string(tp.fec);
    r.Pol = tp.vertical ? "1" : "0";
    r.TuneFlags = tp.vertical ? "0100" : "0000";
    r.NetId = hex4(tp.netId);
    r.TsId = hex4(tp.tsId);
    r.SerId = hex4(service);
    r.VPid = radio ? "0000" : hex4(0x100 + service % 0x400);
    r.APid = hex4(0x200 + service % 0x400);
    r.PPid = radio ? r.APid.str() : r.VPid.str();
    r.PmtPid = hex4(0x40 + service % 0x100);
    r.TxtPid = radio ? "0000" : hex4(0x300 + service % 0x100);
    r.AvFlags = radio ? "00" : "01";
    r.ServType = radio ? "02" : "01";
    r.AutoPid = "1";
    r.MatchKey = buildMatchKey(r);
    return r;
}

}  // namespace

std::string makeSampleSettings() {
    std::string image = bytesToHex(std::string(1265, '\0')).substr(0, 2530);
    image.replace(0, 8, "4456534F");
    const std::pair<const char*, const char*> texts[] = {
        {"LNB1Lof1", "9750"},     {"LNB1Lof2", "10600"},  {"SwitchFreq1", "11700"},
        {"LNBLofC", "5150"},      {"LNB2Lof1", "9750"},   {"LNB2Lof2", "10600"},
        {"LNB3Lof1", "9750"},     {"LNB3Lof2", "10600"},  {"SwitchFreq2", "11700"},
        {"SwitchFreq3", "11700"}, {"LastPrgTV", "2"},     {"LastPrgRa", "1"},
        {"ChScrollMode", "1"},    {"DispDimNormal", "7"}, {"DispDimStdby", "2"},
        {"TimeOffset", "+01"},    {"SCSI_ID", "2"},       {"ParenCtr", "1234"},
        {"Diseqaddr", "10"},
    };
    for (auto [name, text] : texts)
        writeSetting(image, *findSettingField(name), {-1, false, text});
    const std::pair<const char*, int> lists[] = {
        {"Baudrate", 5}, {"DispFreqName", 1}, {"OSD", 2},  {"Intro", 1}, {"Sat", 1},
        {"Vcr", 1},      {"VoltageCtrl", 0},  {"Mode", 1}, {"khz", 0},   {"useVolt2", 1},
    };
    for (auto [name, index] : lists)
        writeSetting(image, *findSettingField(name), {index, false, ""});
    for (const char* name : {"CAMStatus", "NumInBrowser", "LNBonoff", "RgbOut"}) {
        writeSetting(image, *findSettingField(name), {-1, true, ""});
    }
    // White text on blue menus, yellow headings, a half transparent info bar.
    const std::uint32_t colors[kColorItems] = {0x804020, 0xFFFFFF, 0x602810, 0xFFFFFF, 0x905020,
                                               0xFFFFFF, 0x303030, 0x00FFFF, 0x303030, 0x000000,
                                               0x00FFFF, 0xFFFFFF, 0x602810};
    std::array<std::string, kColorItems> values;
    for (std::size_t i = 0; i < kColorItems; ++i)
        values[i] = rgbToYuv(colors[i], i == 6 ? "01" : "00");
    writeColors(image, values);
    return image;
}

TvRadioLists makeSampleLists() {
    TvRadioLists lists;
    int service = 100;
    std::size_t tvName = 0;
    std::size_t radioName = 0;
    for (const auto& sat : kSatellites) {
        lists.tv.push_back(separator(sat.separator));
        lists.radio.push_back(separator(sat.separator));
        for (const auto& tp : sat.tps) {
            for (int k = 0; k < 3; ++k) {
                std::string name = kTvNames[tvName % std::size(kTvNames)];
                if (tvName >= std::size(kTvNames)) name += " " + std::to_string(tvName / 10 + 1);
                lists.tv.push_back(tuned(tp, name, service++, false));
                ++tvName;
            }
            std::string radio = kRadioNames[radioName % std::size(kRadioNames)];
            if (radioName >= std::size(kRadioNames))
                radio += " " + std::to_string(radioName / 5 + 1);
            lists.radio.push_back(tuned(tp, radio, service++, true));
            ++radioName;
        }
    }
    lists.tv[3].Parental = "1";
    return lists;
}

}  // namespace qel::tool
