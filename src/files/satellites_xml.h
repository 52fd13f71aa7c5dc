// The satellites.xml file of Enigma2 and Neutrino receivers: every satellite with its
// transponders. The program only reads it, beside the document, to check a list's tuning
// against it. The format is flat (satellites > sat > transponder), so a small tokenizer
// reads it; anything beyond that shape (declarations, deeper nesting) is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"

namespace qel {

// The polarization codes of the file: 0 H, 1 V, 2 L (circular left), 3 R (circular right).
enum class SatPolarization { Horizontal = 0, Vertical = 1, Left = 2, Right = 3 };

// The letter a report shows: "H", "V", "L" or "R".
std::string_view polarizationLetter(SatPolarization pol);

// Whether the receiver, which only knows horizontal and vertical, tunes the polarization as
// vertical: V and R are vertical, H and L horizontal.
bool tunesVertical(SatPolarization pol);

struct SatTransponder {
    std::int64_t frequencyKhz = 0;
    std::int64_t symbolRate = 0;  // symbols/s
    SatPolarization polarization = SatPolarization::Horizontal;
    int fec = 0;         // fec_inner: 0 auto, 1 1/2, 2 2/3, 3 3/4, 4 5/6, 5 7/8, 6 8/9, 7 3/5,
                         // 8 4/5, 9 9/10, 10 6/7, 15 none
    int system = 0;      // 0 DVB-S, 1 DVB-S2 (as the file says; not used)
    int modulation = 0;  // as the file says; not used
    friend bool operator==(const SatTransponder&, const SatTransponder&) = default;
};

struct SatellitesSat {
    std::string name;  // entities decoded; the file's bytes otherwise (UTF-8 in practice)
    int position = 0;  // tenths of a degree, east positive, west negative
    int flags = 0;
    std::vector<SatTransponder> transponders;  // in file order
};

struct SatellitesFile {
    std::vector<SatellitesSat> sats;  // in file order
    // Transponders left out for lacking a frequency, symbol rate or polarization.
    std::size_t skippedTransponders = 0;

    // The first satellite at the position (tenths); null when none is.
    const SatellitesSat* atPosition(int position) const;
};

// Larger files are refused before they are read; the public file is about 0.4 MB.
inline constexpr std::size_t kMaxSatellitesXmlSize = 32u * 1024u * 1024u;

// The satellites of the file's text. Refused with SatellitesXmlDamaged (detail: the line and
// what is wrong) for text that is not this format: an unterminated tag, attribute or comment,
// a value that is not a base-10 integer in range, a misplaced element; with
// SatellitesXmlRefused for what the program does not read on principle: a DOCTYPE or ENTITY
// declaration (entity expansion), nesting deeper than satellites > sat > transponder; with
// FileTooLarge above kMaxSatellitesXmlSize.
Result<SatellitesFile> parseSatellitesXml(std::string_view text);

// The file at `path`, read whole (at most kMaxSatellitesXmlSize bytes) and parsed.
Result<SatellitesFile> readSatellitesXml(const std::string& path);

// An orbital position as reports show it: 192 -> "19.2E", -300 -> "30.0W", 0 -> "0.0E".
std::string positionText(int tenths);

// A satellite as lists and reports name it, in the file's UTF-8: the position, then the name,
// unless the name begins with it already (as Enigma2's do: "19.2E Astra 1KR/1L/1M/1N").
std::string satelliteLabel(const SatellitesSat& sat);

// An orbital position as the user writes it: "19.2E", "19.2e", "30W", "30.0W", "13E", or
// tenths as the file has them ("192", "-300"). Nothing for anything else or beyond 180.0.
std::optional<int> parsePosition(std::string_view text);

}  // namespace qel
