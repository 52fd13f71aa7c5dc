#include "listedit/list_view.h"

#include "model/conversions.h"

namespace qel {

namespace {

std::string LeftAligned(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string RightAligned(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

const char* FecText(std::int64_t fec) {
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

std::string DecimalPid(const FixedText<4>& pid) {
    return Pad4(std::to_string(HexToDec(pid.view())));
}

}  // namespace

std::string RowText(std::size_t index, const ChannelRec& ch) {
    return Pad4(std::to_string(index + 1)) + "    " + BracketText(ch.ChName.view());
}

bool IsSatelliteHeader(const ChannelRec& ch) {
    return ValDec(ch.Freq.view()) == 0;
}

RowIcon IconOf(const ChannelRec& ch) {
    if (ch.Freq == "00000000") return RowIcon::Header;
    if (ch.Parental == "1") return RowIcon::Parental;
    return RowIcon::None;
}

std::string DataRowText(const ChannelRec& ch, std::size_t index, FileKind fileType,
                        const SatPosTable& satPos, std::string_view stabText) {
    std::string line = LeftAligned(RowText(index, ch).substr(8), 10);
    if (IsSatelliteHeader(ch)) {
        // Position p is the p-th satellite of the table (its line p), as the rotor
        // dialog numbers them.
        const std::int32_t p = HexToDec(ch.APid.view());
        if (p >= 1 && p <= 48) {
            line += stabText;
            const auto i = static_cast<std::size_t>(p - 1);
            if (i < satPos.size()) {
                line += RightAligned(std::to_string(satPos[i].Number), 2) + " " +
                        satPos[i].Name.str() + " " + satPos[i].Position.str();
            } else {
                line += RightAligned(std::to_string(p), 2);
            }
        }
        return line;
    }
    line += "  " + LeftAligned(std::to_string(ValDec(Mid(ch.Freq.view(), 1, 6))), 5);
    line += ValDec(ch.Pol.view()) == 0 ? " H " : " V ";
    line += Mid(ch.Srate.view(), 1, 5);
    line += FecText(ValDec(ch.Fec.view()));
    line += DecimalPid(ch.VPid) + " " + DecimalPid(ch.APid) + " " + DecimalPid(ch.PPid) + " ";
    if (fileType == FileKind::BIN) {
        line += "Ant " + std::to_string(ValDec(Mid(ch.Ant.view(), 3, 1)));
    } else {
        line += "LNB " + std::to_string((HexToDec(Mid(ch.TuneFlags.view(), 3, 2)) & 3) + 1);
    }
    if (ch.AutoPmt == "1") {
        line += " AutoPmt&Pid";
    } else if (ch.AutoPid == "1") {
        line += " AutoPid";
    }
    return line;
}

MainCommands ComputeMainCommands(const Workspace& ws, bool blankRowSelected) {
    MainCommands c;
    const bool loaded = ws.FileType != FileKind::None || ws.ChannelCount() > 0;
    const bool onChannel = !ws.Current().empty() && !blankRowSelected;
    c.edit = onChannel;
    c.del = onChannel;
    c.cut = onChannel;
    c.insert = loaded;
    c.tvRadio = loaded;
    c.buffer = !ws.BufferList.empty();
    c.paste = c.buffer && loaded;
    c.search = ws.ChannelCount() > 0;
    c.exportList = ws.ChannelCount() > 0;
    c.upgrade = ws.FileType == FileKind::DVB;
    c.convert = ws.FileType == FileKind::DVB;
    const bool settingsAvailable =
        ws.FileType == FileKind::BIN || SettingsImageLoaded(ws.DVB98Settings);
    // The blank row of a list with channels stands for no channel: no settings either.
    c.settings = settingsAvailable && (ws.Current().empty() || !blankRowSelected);
    return c;
}

}  // namespace qel
