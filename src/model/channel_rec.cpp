#include "model/channel_rec.h"

#include "bytes/conversions.h"

namespace qel {

namespace {

ChannelRec makeEmptyChannel() {
    ChannelRec r;
    r.MatchKey = "";
    r.ChName = "";
    r.Freq = "00000000";
    r.Pol = "0";
    r.Srate = "000000";
    r.Fec = "0";
    r.Sat = "000";
    r.LoHi = "0";
    for (auto* f : {&r.VPid, &r.APid, &r.PPid, &r.NetId, &r.TsId, &r.SerId, &r.TrId, &r.Ant,
                    &r.AntAux, &r.PmtPid, &r.PmcPid, &r.TxtPid, &r.TuneFlags, &r.Aux292}) {
        *f = "0000";
    }
    r.Acbw = "00";
    r.AvFlags = "00";
    r.ServType = "00";
    r.Parental = "0";
    r.AutoPid = "0";
    r.AutoPmt = "0";
    return r;
}

}  // namespace

const ChannelRec& emptyChannel() {
    static const ChannelRec empty = makeEmptyChannel();
    return empty;
}

FixedText<52> buildMatchKey(const ChannelRec& r) {
    std::string key;
    key.reserve(52);
    for (std::string_view part :
         {r.Freq.view(), r.Srate.view(), r.Fec.view(), r.Pol.view(), r.NetId.view(), r.TsId.view(),
          r.SerId.view(), r.APid.view(), r.VPid.view(), r.PPid.view(), r.PmtPid.view(),
          r.PmcPid.view(), r.TxtPid.view()}) {
        key += part;
    }
    return FixedText<52>(key);
}

std::string bracketText(std::string_view name) {
    if (name.find('[') == std::string_view::npos || name.find(']') == std::string_view::npos) {
        return std::string(trimBlanks(name));
    }
    std::string shown;
    std::size_t i = 0;
    while (i < name.size()) {
        const auto open = name.find('[', i);
        if (open == std::string_view::npos) break;
        const auto close = name.find(']', open + 1);
        if (close == std::string_view::npos) {
            // An unclosed "[": keep what follows it.
            shown += name.substr(open + 1);
            break;
        }
        shown += name.substr(open + 1, close - open - 1);
        i = close + 1;
    }
    return std::string(trimBlanks(shown));
}

}  // namespace qel
