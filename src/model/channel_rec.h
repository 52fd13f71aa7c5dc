// The channel record: one channel as 28 fixed-width text fields, numbers kept as
// decimal or upper-case hex digits, so that records copy, compare and write byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "bytes/field.h"
#include "bytes/fixed_text.h"

namespace qel {

struct ChannelRec {
    FixedText<52> MatchKey;
    FixedText<20> ChName;
    FixedText<8> Freq;   // MHz: 6 whole digits, 2 fraction digits; or "NO TS  "
    FixedText<1> Pol;    // "0" horizontal, anything else vertical
    FixedText<6> Srate;  // units of 100 sym/s
    FixedText<1> Fec;    // 0 auto, 1 1/2, 2 2/3, 3 3/4, 4 5/6, 5 7/8
    FixedText<3> Sat;
    FixedText<1> LoHi;  // LNB band
    FixedText<4> VPid;
    FixedText<4> APid;
    FixedText<4> PPid;
    FixedText<4> NetId;
    FixedText<4> TsId;
    FixedText<4> SerId;
    FixedText<4> TrId;
    FixedText<4> Ant;  // channel_part::kAntennaDigit is the antenna number
    FixedText<4> AntAux;
    FixedText<4> PmtPid;
    FixedText<4> PmcPid;
    FixedText<4> TxtPid;
    FixedText<2> Acbw;
    FixedText<4> TuneFlags;  // low byte: bits 3-2 spectral inversion, bits 1-0 DiSEqC
    FixedText<4> Aux292;
    FixedText<2> AvFlags;  // bits 7-6 audio mode, bit 4 LNB voltage, bits 1-0 video
    FixedText<2> ServType;
    FixedText<1> Parental;
    FixedText<1> AutoPid;
    FixedText<1> AutoPmt;

    friend bool operator==(const ChannelRec&, const ChannelRec&) = default;
};

static_assert(sizeof(ChannelRec) == 157, "ChannelRec must stay 157 characters wide");

// The parts of fields that are read and written on their own.
namespace channel_part {
inline constexpr Field kFreqMhz{0, 6};        // Freq: whole MHz
inline constexpr Field kFreqFraction{6, 2};   // Freq: the two fraction digits
inline constexpr Field kSrateMsym{0, 2};      // Srate: whole Msym/s
inline constexpr Field kSrateKsym{0, 5};      // Srate: the rate in ksym/s
inline constexpr Field kSrateKsymPart{2, 3};  // Srate: the ksym/s below the whole Msym/s
inline constexpr Field kAntennaDigit{2, 1};   // Ant: the antenna number
inline constexpr Field kHighByte{0, 2};       // a 4-digit hex word's high byte (TuneFlags, TrId)
inline constexpr Field kLowByte{2, 2};        // and its low byte

// Bits of the flag bytes, as places in the byte's 8 binary digits, most significant first.
inline constexpr Field kAudioBits{0, 2};        // AvFlags: the audio mode
inline constexpr Field kVoltageBit{3, 1};       // AvFlags: the LNB voltage (12 V)
inline constexpr Field kVideoBits{6, 2};        // AvFlags: the video system
inline constexpr Field kPolarisationBit{7, 1};  // TuneFlags' high byte
inline constexpr Field kSpectralBits{4, 2};     // TuneFlags' low byte: spectral inversion
inline constexpr Field kDiseqcBits{6, 2};       // TuneFlags' low byte: the DiSEqC port
}  // namespace channel_part

// Calls f(name, field) for the 28 fields in record order.
template <class rec, class F>
void forEachField(rec& r, F&& f) {
    f("MatchKey", r.MatchKey);
    f("ChName", r.ChName);
    f("Freq", r.Freq);
    f("Pol", r.Pol);
    f("Srate", r.Srate);
    f("Fec", r.Fec);
    f("Sat", r.Sat);
    f("LoHi", r.LoHi);
    f("VPid", r.VPid);
    f("APid", r.APid);
    f("PPid", r.PPid);
    f("NetId", r.NetId);
    f("TsId", r.TsId);
    f("SerId", r.SerId);
    f("TrId", r.TrId);
    f("Ant", r.Ant);
    f("AntAux", r.AntAux);
    f("PmtPid", r.PmtPid);
    f("PmcPid", r.PmcPid);
    f("TxtPid", r.TxtPid);
    f("Acbw", r.Acbw);
    f("TuneFlags", r.TuneFlags);
    f("Aux292", r.Aux292);
    f("AvFlags", r.AvFlags);
    f("ServType", r.ServType);
    f("Parental", r.Parental);
    f("AutoPid", r.AutoPid);
    f("AutoPmt", r.AutoPmt);
}

// The blank record: the defaults every new channel and header entry starts from.
const ChannelRec& emptyChannel();

// The name that marks a record for removal by compactList.
inline constexpr std::string_view kDeletedName = "##########";

// Freq, Srate, Fec, Pol, then the ids and PIDs: two records with the same key tune
// to the same service with the same PIDs.
FixedText<52> buildMatchKey(const ChannelRec& r);

// The part of a channel name the receiver shows: the texts inside the [ ] pairs,
// joined and trimmed; the trimmed name when it has no pair.
std::string bracketText(std::string_view name);

}  // namespace qel
