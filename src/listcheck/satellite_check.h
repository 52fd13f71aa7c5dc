// A list's tuning checked against a satellites.xml: each satellite group of the list (the
// channels under a satellite header; without headers, a DVB98 list's DiSEqC port or an FTA
// image's antenna) is assigned the <sat> it stands for, and every channel of an assigned
// group is looked up among that satellite's transponders. What has no transponder there is a
// warning naming the nearest one. Beside the check: taking over a changed symbol rate or FEC
// from the file, and filling an FTA image's transponders for one antenna from a <sat>.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/satellites_xml.h"
#include "listcheck/list_check.h"
#include "model/channel_lists.h"
#include "model/fta_tables.h"

namespace qel {

// What a group of channels is known by.
enum class SatGroupKind {
    Header,      // the channels after a satellite header, up to the next one: by its name
    DiseqcPort,  // a DVB98 list without headers: by the DiSEqC port (1-4)
    Antenna,     // an FTA image without headers: by the antenna number (1-8)
};

struct SatGroup {
    SatGroupKind kind = SatGroupKind::Header;
    std::string name;  // Header: the header's trimmed name
    int number = 0;    // DiseqcPort: 1-4; Antenna: 1-8
    friend auto operator<=>(const SatGroup&, const SatGroup&) = default;
};

// Which satellite (its position in tenths of a degree, east positive) each group stands for.
// A group without an entry is not checked.
using SatAssignment = std::map<SatGroup, int>;

// The groups of the lists, each once, in the order they first appear (TV, then RADIO).
// Headers where either list has one; otherwise the DiSEqC ports (DVB98) or the antennas
// (FTA image) the channels use.
std::vector<SatGroup> satelliteGroups(const ChannelList& tv, const ChannelList& radio,
                                      bool ftaImage);

// The group of each row of a list: nothing for header rows and, with `useHeaders`, for the
// channels before the first header. `useHeaders` is what satelliteGroups decides for both
// lists: whether either list has a header.
std::vector<std::optional<SatGroup>> groupsOfRows(const ChannelList& list, bool useHeaders,
                                                  bool ftaImage);

// The frequency window a channel's transponder is looked for in: 2 MHz either side for symbol rates
// of 10000 ksym/s and above, 1 MHz below. `srateUnits` in the channel's 100 sym/s.
std::int64_t frequencyToleranceKhz(std::int64_t srateUnits);
// Symbol rates that differ by at most this much are the same.
inline constexpr std::int64_t kSymbolRateToleranceSym = 1000;

struct SatelliteCheckInput {
    const ChannelList* tv = nullptr;
    const ChannelList* radio = nullptr;
    bool ftaImage = false;
    const SatellitesFile* satellites = nullptr;
    const SatAssignment* assignment = nullptr;
};

// The warnings, TV first, in row order: a channel whose frequency (in its window), whose
// polarization (L taken as H, R as V: the receiver only tunes H and V) or whose symbol rate
// (within kSymbolRateToleranceSym) matches no transponder of its group's satellite, each
// naming the nearest transponder. Channels of unassigned groups, of groups assigned a
// position the file has no satellite at, header rows and image channels without a
// transponder are not checked. Sorts each satellite's transponders once: n log m.
std::vector<Finding> checkAgainstSatellites(const SatelliteCheckInput& input);

// A channel whose transponder has exactly one partner on its satellite (same polarization,
// frequency in the window) that differs only in symbol rate or FEC: the values to take over.
struct TakeOverChange {
    ListId list = ListId::TV;
    std::size_t index = 0;             // 0-based row
    std::optional<std::string> srate;  // the new Srate (6 digits, 100 sym/s), if it changes
    std::optional<char> fec;           // the new Fec digit, if it changes
    // The file's FEC (8/9, 3/5, 4/5, 9/10, 6/7) has no code in the channel's 0-5: Fec stays.
    bool fecNotTaken = false;
    std::string partner;  // the partner as reports show it: "11494 MHz H 22000 ksym/s"
    friend bool operator==(const TakeOverChange&, const TakeOverChange&) = default;
};

// Every channel with something to take over, TV first, in row order. A channel whose only
// difference is a FEC the channel cannot hold is listed with fecNotTaken and nothing to set.
std::vector<TakeOverChange> proposeTakeOver(const SatelliteCheckInput& input);

// Sets the proposed values in the lists (one edit: the caller makes it one undo step).
void applyTakeOver(ChannelList& tv, ChannelList& radio, std::span<const TakeOverChange> changes);

// Filling an FTA image's transponders for one antenna from a <sat>. An image writes one
// transponder record for each transponder its channels use, so a transponder the receiver's
// scan should visit needs a channel: the channels of the antenna whose transponder matches
// one of the <sat> (same polarization, frequency in the window, the only such one) take its
// frequency, symbol rate and FEC; every other transponder of the <sat> gets a placeholder
// entry named "TP <MHz> <H|V> <ksym/s>" at the end of the chosen list. Placeholders of the
// antenna from an earlier fill are dropped first, so a second fill refreshes the first.
struct FtaFillRequest {
    int antenna = 1;  // 1-8
    const SatellitesSat* sat = nullptr;
    ListId placeholders = ListId::Radio;  // where new placeholder entries go
};

struct FtaFill {
    bool fits = false;
    // What the image could hold: the placeholders that fit (in frequency order) of those asked.
    std::size_t fitting = 0;
    std::size_t asked = 0;
    std::size_t refreshed = 0;  // channels whose frequency, symbol rate or FEC changed
    std::size_t dropped = 0;    // placeholders of an earlier fill removed
    std::size_t unmatched = 0;  // channels of the antenna matching no transponder (left alone)
    TvRadioLists lists;         // the filled lists; empty (and nothing else changed) when !fits
};

// The placeholder name for a transponder.
std::string placeholderName(const SatTransponder& tp);
// Whether a channel is a placeholder entry of a fill.
bool isPlaceholder(const ChannelRec& ch);

// Refuses (fits false, the counts set, no lists) what the image cannot hold as the writer
// measures it (ftaImageFit with the image's tables).
FtaFill fillFtaTransponders(const TvRadioLists& lists, const FtaImageTables& tables,
                            const FtaFillRequest& request);

}  // namespace qel
