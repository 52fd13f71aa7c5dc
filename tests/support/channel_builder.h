// Builders for test input: channel records by field, and raw 64-byte .dvb records by
// byte offset (written independently of the program's encoder).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/channel_rec.h"

namespace qel::test {

// A ChannelRec starting from EmptyChannel, fields set by name.
class Channel {
public:
    Channel() : r_(EmptyChannel()) {}
    explicit Channel(std::string_view name) : r_(EmptyChannel()) { r_.ChName = name; }
    explicit Channel(const ChannelRec& from) : r_(from) {}

    Channel& Name(std::string_view v) { return Set(r_.ChName, v); }
    Channel& Freq(std::string_view v) { return Set(r_.Freq, v); }
    Channel& Pol(std::string_view v) { return Set(r_.Pol, v); }
    Channel& Srate(std::string_view v) { return Set(r_.Srate, v); }
    Channel& Fec(std::string_view v) { return Set(r_.Fec, v); }
    Channel& Sat(std::string_view v) { return Set(r_.Sat, v); }
    Channel& LoHi(std::string_view v) { return Set(r_.LoHi, v); }
    Channel& VPid(std::string_view v) { return Set(r_.VPid, v); }
    Channel& APid(std::string_view v) { return Set(r_.APid, v); }
    Channel& PPid(std::string_view v) { return Set(r_.PPid, v); }
    Channel& NetId(std::string_view v) { return Set(r_.NetId, v); }
    Channel& TsId(std::string_view v) { return Set(r_.TsId, v); }
    Channel& SerId(std::string_view v) { return Set(r_.SerId, v); }
    Channel& TrId(std::string_view v) { return Set(r_.TrId, v); }
    Channel& Ant(std::string_view v) { return Set(r_.Ant, v); }
    Channel& PmtPid(std::string_view v) { return Set(r_.PmtPid, v); }
    Channel& PmcPid(std::string_view v) { return Set(r_.PmcPid, v); }
    Channel& TxtPid(std::string_view v) { return Set(r_.TxtPid, v); }
    Channel& Acbw(std::string_view v) { return Set(r_.Acbw, v); }
    Channel& TuneFlags(std::string_view v) { return Set(r_.TuneFlags, v); }
    Channel& Aux292(std::string_view v) { return Set(r_.Aux292, v); }
    Channel& AvFlags(std::string_view v) { return Set(r_.AvFlags, v); }
    Channel& ServType(std::string_view v) { return Set(r_.ServType, v); }
    Channel& Parental(std::string_view v) { return Set(r_.Parental, v); }
    Channel& AutoPid(std::string_view v) { return Set(r_.AutoPid, v); }
    Channel& AutoPmt(std::string_view v) { return Set(r_.AutoPmt, v); }
    Channel& WithMatchKey() {
        r_.MatchKey = BuildMatchKey(r_);
        return *this;
    }

    ChannelRec rec() const { return r_; }
    operator ChannelRec() const { return r_; }  // NOLINT: builders read best without a call

private:
    template <std::size_t N>
    Channel& Set(FixedText<N>& f, std::string_view v) {
        f = v;
        return *this;
    }
    ChannelRec r_;
};

// The 64 bytes of one .dvb record, laid out by byte offset.
class DvbRecord {
public:
    DvbRecord() : b_(64, '\0') {
        Put(0, "DVSO");
        Put(52, "    ");
        Put(57, "     ");
        Type(1);
        Name("");
    }

    DvbRecord& SerId(unsigned v) { return Word(4, v); }
    DvbRecord& PmtPid(unsigned v) { return Word(6, v); }
    DvbRecord& FreqMHz(unsigned v) { return Word(8, v); }
    DvbRecord& SrateKs(unsigned v) { return Word(10, v); }
    DvbRecord& FecCode(unsigned v) { return Byte(12, v); }
    DvbRecord& Acbw(unsigned v) { return Byte(13, v); }
    DvbRecord& TuneFlags(unsigned v) { return Word(14, v); }
    DvbRecord& VPid(unsigned v) { return Word(16, v); }
    DvbRecord& APid(unsigned v) { return Word(18, v); }
    DvbRecord& PPid(unsigned v) { return Word(20, v); }
    DvbRecord& Aux292(unsigned v) { return Word(22, v); }
    DvbRecord& PmcPid(unsigned v) { return Word(24, v); }
    DvbRecord& AvFlags(unsigned v) { return Byte(26, v); }
    DvbRecord& Type(unsigned v) { return Byte(27, v); }
    DvbRecord& TxtPid(unsigned v) { return Word(28, v); }
    DvbRecord& TsId(unsigned v) { return Word(30, v); }
    // Exactly the 20 name bytes given, padded with blanks (no bracket translation).
    DvbRecord& Name(std::string_view raw) {
        std::string n(raw.substr(0, 20));
        n.resize(20, ' ');
        return Put(32, n);
    }
    DvbRecord& Automation(unsigned v) { return Byte(56, v); }
    DvbRecord& Parental(bool on) { return Byte(58, on ? '!' : ' '); }
    DvbRecord& NetId(unsigned v) { return Word(62, v); }
    DvbRecord& Byte(std::size_t at, unsigned v) {
        b_[at] = static_cast<char>(v & 0xFF);
        return *this;
    }
    DvbRecord& Word(std::size_t at, unsigned v) {
        Byte(at, v >> 8);
        return Byte(at + 1, v);
    }

    const std::string& bytes() const { return b_; }
    operator std::string() const { return b_; }  // NOLINT: concatenates like the bytes it is

private:
    DvbRecord& Put(std::size_t at, std::string_view s) {
        b_.replace(at, s.size(), s);
        return *this;
    }
    std::string b_;
};

// A record slot the receiver never filled: 64 bytes of 255.
inline std::string UnusedDvbRecord() {
    return std::string(64, '\xFF');
}

}  // namespace qel::test
