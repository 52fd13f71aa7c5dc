// Builders for test input: channel records by field, and raw 64-byte .dvb records by
// byte offset (written independently of the program's encoder).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bytes/conversions.h"
#include "model/channel_lists.h"
#include "model/channel_rec.h"

namespace qel::test {

// A ChannelRec starting from emptyChannel, fields set by name.
class Channel {
public:
    Channel() : r_(emptyChannel()) {}
    explicit Channel(std::string_view name) : r_(emptyChannel()) { r_.ChName = name; }
    explicit Channel(const ChannelRec& from) : r_(from) {}

    Channel& name(std::string_view v) { return set(r_.ChName, v); }
    Channel& Freq(std::string_view v) { return set(r_.Freq, v); }
    Channel& Pol(std::string_view v) { return set(r_.Pol, v); }
    Channel& Srate(std::string_view v) { return set(r_.Srate, v); }
    Channel& Fec(std::string_view v) { return set(r_.Fec, v); }
    Channel& Sat(std::string_view v) { return set(r_.Sat, v); }
    Channel& LoHi(std::string_view v) { return set(r_.LoHi, v); }
    Channel& VPid(std::string_view v) { return set(r_.VPid, v); }
    Channel& APid(std::string_view v) { return set(r_.APid, v); }
    Channel& PPid(std::string_view v) { return set(r_.PPid, v); }
    Channel& NetId(std::string_view v) { return set(r_.NetId, v); }
    Channel& TsId(std::string_view v) { return set(r_.TsId, v); }
    Channel& SerId(std::string_view v) { return set(r_.SerId, v); }
    Channel& TrId(std::string_view v) { return set(r_.TrId, v); }
    Channel& Ant(std::string_view v) { return set(r_.Ant, v); }
    Channel& PmtPid(std::string_view v) { return set(r_.PmtPid, v); }
    Channel& PmcPid(std::string_view v) { return set(r_.PmcPid, v); }
    Channel& TxtPid(std::string_view v) { return set(r_.TxtPid, v); }
    Channel& Acbw(std::string_view v) { return set(r_.Acbw, v); }
    Channel& TuneFlags(std::string_view v) { return set(r_.TuneFlags, v); }
    Channel& Aux292(std::string_view v) { return set(r_.Aux292, v); }
    Channel& AvFlags(std::string_view v) { return set(r_.AvFlags, v); }
    Channel& ServType(std::string_view v) { return set(r_.ServType, v); }
    Channel& Parental(std::string_view v) { return set(r_.Parental, v); }
    Channel& AutoPid(std::string_view v) { return set(r_.AutoPid, v); }
    Channel& AutoPmt(std::string_view v) { return set(r_.AutoPmt, v); }
    Channel& withMatchKey() {
        r_.MatchKey = buildMatchKey(r_);
        return *this;
    }

    ChannelRec rec() const { return r_; }
    operator ChannelRec() const { return r_; }  // NOLINT: builders read best without a call

private:
    template <std::size_t nearestEven>
    Channel& set(FixedText<nearestEven>& f, std::string_view v) {
        f = v;
        return *this;
    }
    ChannelRec r_;
};

// The 64 bytes of one .dvb record, laid out by byte offset.
class DvbRecord {
public:
    DvbRecord() : b_(64, '\0') {
        put(0, "DVSO");
        put(52, "    ");
        put(57, "     ");
        type(1);
        name("");
    }

    DvbRecord& SerId(unsigned v) { return word(4, v); }
    DvbRecord& PmtPid(unsigned v) { return word(6, v); }
    DvbRecord& freqMHz(unsigned v) { return word(8, v); }
    DvbRecord& srateKs(unsigned v) { return word(10, v); }
    DvbRecord& fecCode(unsigned v) { return byte(12, v); }
    DvbRecord& Acbw(unsigned v) { return byte(13, v); }
    DvbRecord& TuneFlags(unsigned v) { return word(14, v); }
    DvbRecord& VPid(unsigned v) { return word(16, v); }
    DvbRecord& APid(unsigned v) { return word(18, v); }
    DvbRecord& PPid(unsigned v) { return word(20, v); }
    DvbRecord& Aux292(unsigned v) { return word(22, v); }
    DvbRecord& PmcPid(unsigned v) { return word(24, v); }
    DvbRecord& AvFlags(unsigned v) { return byte(26, v); }
    DvbRecord& type(unsigned v) { return byte(27, v); }
    DvbRecord& TxtPid(unsigned v) { return word(28, v); }
    DvbRecord& TsId(unsigned v) { return word(30, v); }
    // Exactly the 20 name bytes given, padded with blanks (no bracket translation).
    DvbRecord& name(std::string_view raw) {
        std::string n(raw.substr(0, 20));
        n.resize(20, ' ');
        return put(32, n);
    }
    DvbRecord& automation(unsigned v) { return byte(56, v); }
    DvbRecord& Parental(bool on) { return byte(58, on ? '!' : ' '); }
    DvbRecord& NetId(unsigned v) { return word(62, v); }
    DvbRecord& byte(std::size_t at, unsigned v) {
        b_[at] = static_cast<char>(v & 0xFF);
        return *this;
    }
    DvbRecord& word(std::size_t at, unsigned v) {
        byte(at, v >> 8);
        return byte(at + 1, v);
    }

    const std::string& bytes() const { return b_; }
    operator std::string() const { return b_; }  // NOLINT: concatenates like the bytes it is

private:
    DvbRecord& put(std::size_t at, std::string_view s) {
        b_.replace(at, s.size(), s);
        return *this;
    }
    std::string b_;
};

// A record slot the receiver never filled: 64 bytes of 255.
// A tuned channel the list check finds nothing wrong with: 11766 MHz, 27500 ksym/s, FEC 3/4,
// video and audio PIDs 200/201, service `sid`.
inline DvbRecord tunedRecord(const char* name, unsigned sid) {
    return DvbRecord()
        .name(name)
        .freqMHz(11766)
        .srateKs(27500)
        .fecCode(4)
        .SerId(sid)
        .VPid(0x200)
        .APid(0x201);
}

inline std::string unusedDvbRecord() {
    return std::string(64, '\xFF');
}

// The names of a list's channels without their outer blanks, joined by ",".
inline std::string names(const ChannelList& list) {
    std::string s;
    for (const ChannelRec& ch : list) {
        if (&ch != &list.front()) s += ',';
        s += trimBlanks(ch.ChName.view());
    }
    return s;
}

}  // namespace qel::test
