// The channel data editor's logic: a channel as the editor's controls show it, the
// hex/decimal pairs, the band rule, the antenna entry display, and saving the controls
// back into the channel.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/channel_rec.h"
#include "model/workspace.h"

namespace qel {

// The ten hex/decimal pairs, in the editor's order.
enum class Pair { VPid, APid, PPid, NetId, TsId, SerId, TrId, PmtPid, PmcPid, TxtPid };
inline constexpr std::size_t kPairs = 10;

// The service types offered; index 14 ("Unknown") stands for every other code.
inline constexpr std::size_t kServTypes = 15;
const char* servTypeName(std::size_t index);
int servTypeIndex(std::string_view code);

// The list controls hold the values the channel holds, not positions in the lists: a value
// no entry of a list names (a spectral inversion of 3, a FEC of 7) is shown as an extra
// entry, and saving leaves every control the user did not change as the channel had it.
struct DataFields {
    std::string name;
    std::string freq1, freq2;  // MHz and the two fraction digits
    int pol = 0;               // 0 Hor, 1 Ver
    std::string srate1, srate2;
    int fec = 0;
    std::string sat;
    int lohi = 0;                         // 0 Low, 1 High
    std::array<std::string, kPairs> hex;  // the hex boxes; the decimal ones follow them
    std::string acbw;
    int ant = -1;    // the antenna number (1-8 name the antennas); -1 none (DVB98 lists)
    int spectr = 0;  // 0 auto, 1 off, 2 on
    int diseqc = 0, audio = 0, volt = 0;
    int video = 0;  // the two video bits: 0 PAL, 3 NTSC
    int servType = 0;
    bool parental = false;
    int autoPid = 0, autoPmt = 0;
};

// The controls for a channel of a DVB98 list or of an FTA image.
DataFields dataFieldsOf(const ChannelRec& ch, FileKind fileType);

// The channel with the controls written back: only what differs from what the channel
// showed is written, so untouched controls never change the channel. The band of a DVB98
// channel follows a changed frequency and the polarisation bit of its tuning flags its
// polarisation; a DVB98 channel keeps its antenna word and an "Unknown" service type keeps
// its code; an FTA channel keeps the fields the image does not hold.
ChannelRec channelOfFields(const DataFields& f, const ChannelRec& previous, FileKind fileType);

// Leaving a hex box: its text becomes pad4 of itself; the decimal box shows its value.
std::string leaveHexBox(std::string_view hexText);
std::string decimalOfHex(std::string_view hexText);
// Leaving a decimal box: the box shows its number kept within the field (0-65535), and
// the hex box becomes pad4 of that number in hex, so the twin boxes always agree.
std::string leaveDecimalBox(std::string_view decText);
std::string hexOfDecimal(std::string_view decText);
// Leaving the frequency box: the band for that frequency (0 low, 1 high).
int bandAfterFrequency(std::string_view freq1);

// The FTA antenna entry the editor shows beside the antenna list.
struct AntennaView {
    std::string satName, lnbLow, lnbHigh, switchText, lof, diseqc;
};
// `previousDiseqc` stays when the entry's DiSEqC value is beyond the known ones.
AntennaView antennaViewOf(std::string_view entry, std::string_view previousDiseqc);

}  // namespace qel
