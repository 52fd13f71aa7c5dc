#include "listedit/list_view.h"

#include "bytes/conversions.h"

namespace qel {

namespace {

std::string leftAligned(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string rightAligned(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

const char* fecText(std::int64_t fec) {
    switch (fec) {
        case 0:
            return "  0  ";
        case 1:
            return " 1/2 ";
        case 2:
            return " 2/3 ";
        case 3:
            return " 3/4 ";
        case 4:
            return " 5/6 ";
        case 5:
            return " 7/8 ";
        default:
            return "";
    }
}

std::string decimalPid(const FixedText<4>& pid) {
    return pad4(std::to_string(hexToDec(pid.view())));
}

}  // namespace

std::string rowText(std::size_t index, const ChannelRec& ch) {
    return pad4(std::to_string(index + 1)) + "    " + bracketText(ch.ChName.view());
}

bool isSatelliteHeader(const ChannelRec& ch) {
    return decimalValue(ch.Freq.view()) == 0;
}

RowIcon iconOf(const ChannelRec& ch) {
    if (ch.Freq == "00000000") return RowIcon::Header;
    if (ch.Parental == "1") return RowIcon::Parental;
    return RowIcon::None;
}

std::string dataRowText(const ChannelRec& ch, std::size_t index, FileKind fileType,
                        const SatPosTable& satPos, std::string_view stabText) {
    std::string line = leftAligned(rowText(index, ch).substr(8), 10);
    if (isSatelliteHeader(ch)) {
        // Position p is the p-th satellite of the table (its line p), as the rotor
        // dialog numbers them.
        const std::int32_t p = hexToDec(ch.APid.view());
        if (p >= 1 && p <= 48) {
            line += stabText;
            const auto i = static_cast<std::size_t>(p - 1);
            if (i < satPos.size()) {
                line += rightAligned(std::to_string(satPos[i].number), 2) + " " +
                        satPos[i].name.str() + " " + satPos[i].position.str();
            } else {
                line += rightAligned(std::to_string(p), 2);
            }
        }
        return line;
    }
    line += "  " +
            leftAligned(std::to_string(decimalValue(channel_part::kFreqMhz.in(ch.Freq.view()))), 5);
    line += decimalValue(ch.Pol.view()) == 0 ? " H " : " V ";
    line += channel_part::kSrateKsym.in(ch.Srate.view());
    line += fecText(decimalValue(ch.Fec.view()));
    line += decimalPid(ch.VPid) + " " + decimalPid(ch.APid) + " " + decimalPid(ch.PPid) + " ";
    if (fileType == FileKind::BIN) {
        line +=
            "Ant " + std::to_string(decimalValue(channel_part::kAntennaDigit.in(ch.Ant.view())));
    } else {
        line += "LNB " +
                std::to_string((hexToDec(channel_part::kLowByte.in(ch.TuneFlags.view())) & 3) + 1);
    }
    if (ch.AutoPmt == "1") {
        line += " AutoPmt&Pid";
    } else if (ch.AutoPid == "1") {
        line += " AutoPid";
    }
    return line;
}

MainCommands mainCommands(const Workspace& ws, bool blankRowSelected) {
    MainCommands c;
    const bool loaded = ws.fileType() != FileKind::None || ws.channelCount() > 0;
    const bool onChannel = !ws.shown().empty() && !blankRowSelected;
    c.edit = onChannel;
    c.deleteMarked = onChannel;
    c.moveToBuffer = onChannel;
    c.insert = loaded;
    c.tvRadio = loaded;
    c.sort = ws.shown().size() > 1;
    c.print = ws.channelCount() > 0;
    c.buffer = !ws.bufferList().empty();
    c.paste = c.buffer && loaded;
    // Finding and exporting are offered whatever the lists hold.
    c.search = true;
    c.exportList = true;
    c.saveList = loaded;
    c.upgrade = ws.fileType() == FileKind::DVB;
    c.compare = loaded;
    c.convert = ws.fileType() == FileKind::DVB;
    const bool settingsAvailable = ws.fileType() == FileKind::BIN || ws.settingsLoaded();
    // The blank row of a list with channels stands for no channel: no settings either.
    c.settings = settingsAvailable && (ws.shown().empty() || !blankRowSelected);
    return c;
}

}  // namespace qel
