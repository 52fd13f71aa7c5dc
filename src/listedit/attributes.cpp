#include "listedit/attributes.h"

#include "listedit/list_view.h"
#include "model/conversions.h"

namespace qel {

namespace {

template <class F>
void ForMarked(ChannelList& list, const Marks& marks, F&& change) {
    for (std::size_t i : marks) {
        if (i < list.size()) change(list[i]);
    }
}

// Replaces binary digits [from, from + width) (1-based, most significant first) of a
// byte held as 2 hex digits.
std::string WithBits(std::string_view hexByte, int from, int width, int value) {
    std::string bits = ToBinary(HexToDec(hexByte), 8);
    bits.replace(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(width),
                 ToBinary(value, width));
    const std::string hex = "00" + ToHex(static_cast<std::uint32_t>(FromBinary(bits)));
    return hex.substr(hex.size() - 2);
}

void SetTuneBits(ChannelRec& ch, int from, int width, int value) {
    const std::string flags = ch.TuneFlags.str();
    ch.TuneFlags = flags.substr(0, 2) + WithBits(Mid(flags, 3, 2), from, width, value);
}

const char* Digit(int on) {
    return on == 1 ? "1" : "0";
}

}  // namespace

void SetAntenna(ChannelList& list, const Marks& marks, int antenna) {
    const std::string ant = "00" + std::to_string(antenna) + "0";
    ForMarked(list, marks, [&](ChannelRec& ch) { ch.Ant = ant; });
}

void SetVoltage(ChannelList& list, const Marks& marks, int on) {
    ForMarked(list, marks,
              [&](ChannelRec& ch) { ch.AvFlags = WithBits(ch.AvFlags.view(), 4, 1, on); });
}

void SetDiseqC(ChannelList& list, const Marks& marks, int port) {
    ForMarked(list, marks, [&](ChannelRec& ch) { SetTuneBits(ch, 7, 2, port); });
}

void SetSpi(ChannelList& list, const Marks& marks, int mode) {
    ForMarked(list, marks, [&](ChannelRec& ch) { SetTuneBits(ch, 5, 2, mode); });
}

void SetParCtrl(ChannelList& list, const Marks& marks, int on) {
    ForMarked(list, marks, [&](ChannelRec& ch) {
        if (IconOf(ch) != RowIcon::Header) ch.Parental = Digit(on);
    });
}

void SetAutoPmt(ChannelList& list, const Marks& marks, int on) {
    ForMarked(list, marks, [&](ChannelRec& ch) { ch.AutoPmt = Digit(on); });
}

void SetAutoPid(ChannelList& list, const Marks& marks, int on) {
    ForMarked(list, marks, [&](ChannelRec& ch) { ch.AutoPid = Digit(on); });
}

void SetStab(ChannelList& list, const Marks& marks, int position) {
    const std::string apid = Pad4(ToHex(static_cast<std::uint32_t>(position)));
    ForMarked(list, marks, [&](ChannelRec& ch) {
        if (IsSatelliteHeader(ch)) ch.APid = apid;
    });
}

int FindSat(const ChannelList& list, int selectedRow, Direction direction) {
    const int channels = static_cast<int>(list.size());
    const auto header = [&](int row) {
        return IconOf(list[static_cast<std::size_t>(row - 1)]) == RowIcon::Header;
    };
    if (direction == Direction::Next) {
        int r = selectedRow + 1;
        while (r <= channels && !header(r))
            ++r;
        return r > channels ? channels : r;
    }
    int r = std::min(selectedRow - 1, channels);
    while (r >= 1 && !header(r))
        --r;
    return r < 1 ? 1 : r;
}

}  // namespace qel
