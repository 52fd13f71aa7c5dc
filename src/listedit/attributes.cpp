#include "listedit/attributes.h"

#include "bytes/conversions.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

template <class F>
void forMarked(ChannelList& list, const Marks& marks, F&& change) {
    for (std::size_t i : marks) {
        if (i < list.size()) change(list[i]);
    }
}

// Replaces the bits `field` of a byte held as 2 hex digits.
std::string withBits(std::string_view hexByte, const Field& field, int value) {
    std::string bits = toBinary(hexToDec(hexByte), 8);
    putField(bits, field, toBinary(value, static_cast<int>(field.length)));
    const std::string hex = "00" + toHex(static_cast<std::uint32_t>(fromBinary(bits)));
    return hex.substr(hex.size() - 2);
}

void setTuneBits(ChannelRec& ch, const Field& field, int value) {
    const std::string_view flags = ch.TuneFlags.view();
    ch.TuneFlags = std::string(channel_part::kHighByte.in(flags)) +
                   withBits(channel_part::kLowByte.in(flags), field, value);
}

const char* digit(int on) {
    return on == 1 ? "1" : "0";
}

}  // namespace

void setAntenna(ChannelList& list, const Marks& marks, int antenna) {
    const std::string ant = "00" + std::to_string(antenna) + "0";
    forMarked(list, marks, [&](ChannelRec& ch) { ch.Ant = ant; });
}

void setVoltage(ChannelList& list, const Marks& marks, int on) {
    forMarked(list, marks, [&](ChannelRec& ch) {
        ch.AvFlags = withBits(ch.AvFlags.view(), channel_part::kVoltageBit, on);
    });
}

void setDiseqcPort(ChannelList& list, const Marks& marks, int port) {
    forMarked(list, marks,
              [&](ChannelRec& ch) { setTuneBits(ch, channel_part::kDiseqcBits, port); });
}

void setSpectralInversion(ChannelList& list, const Marks& marks, int mode) {
    forMarked(list, marks,
              [&](ChannelRec& ch) { setTuneBits(ch, channel_part::kSpectralBits, mode); });
}

void setParentalLock(ChannelList& list, const Marks& marks, int on) {
    forMarked(list, marks, [&](ChannelRec& ch) {
        if (iconOf(ch) != RowIcon::Header) ch.Parental = digit(on);
    });
}

void setAutoPmt(ChannelList& list, const Marks& marks, int on) {
    forMarked(list, marks, [&](ChannelRec& ch) { ch.AutoPmt = digit(on); });
}

void setAutoPid(ChannelList& list, const Marks& marks, int on) {
    forMarked(list, marks, [&](ChannelRec& ch) { ch.AutoPid = digit(on); });
}

void setStabPosition(ChannelList& list, const Marks& marks, int position) {
    const std::string apid = pad4(toHex(static_cast<std::uint32_t>(position)));
    forMarked(list, marks, [&](ChannelRec& ch) {
        if (isSatelliteHeader(ch)) ch.APid = apid;
    });
}

int findSatelliteHeader(const ChannelList& list, int selectedRow, Direction direction) {
    const int channels = static_cast<int>(list.size());
    const auto header = [&](int row) {
        return iconOf(list[static_cast<std::size_t>(row - 1)]) == RowIcon::Header;
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
