// The layout of an FTA flash image, shared by its reader and its writer: three areas of
// type/length/value records, the words that close each area, the record types, and the
// fields of the records the tables keep as hex text.
#pragma once

#include <cstddef>
#include <string_view>

#include "bytes/field.h"

namespace qel::fta {

inline constexpr std::size_t kImageSize = 49152;

// An area of records. Its last four bytes are two words: its size word, then the marker
// word that says the area holds records. Records fill the area from its start up to
// those words; a record of type 0xFFFF (erased flash) ends them early.
struct Area {
    std::size_t begin;
    std::size_t size;
    unsigned sizeWord;
    constexpr std::size_t end() const { return begin + size; }
    // Where the records stop: the size word.
    constexpr std::size_t recordsEnd() const { return end() - 4; }
    constexpr std::size_t sizeWordAt() const { return end() - 4; }
    constexpr std::size_t markerAt() const { return end() - 2; }
    constexpr std::size_t capacity() const { return size - 4; }
};

inline constexpr Area kAreaA{0, 8192, 0x2000};
inline constexpr Area kAreaB{8192, 8192, 0x2000};
inline constexpr Area kAreaC{16384, 32768, 0x8000};
inline constexpr unsigned kAreaMarker = 0x7FFC;
inline constexpr unsigned kErasedType = 0xFFFF;
static_assert(kAreaC.end() == kImageSize, "the areas fill the image");

// A record: type word, length word, the value, a fill byte after an odd length.
inline constexpr std::size_t kRecordHeader = 4;

// Record types.
inline constexpr unsigned kTransponderType = 0x9000;  // 0x9001-0x90FF, 0x9000 their count
inline constexpr unsigned kPidType = 0x9500;          // 0x9501-0x95FF, 0x9500 their count
inline constexpr unsigned kTagType = 0x9999;          // a program's tag
inline constexpr unsigned kScreenFormatType = 0x8602;
inline constexpr unsigned kPictureFormatType = 0x8603;
inline constexpr unsigned kAntennaOscillatorsType = 0x8610;
inline constexpr unsigned kAntennaNamesType = 0xE505;
inline constexpr unsigned kSettingsRecordType = 0xE501;
inline constexpr unsigned kTvCountType = 0x8702;
inline constexpr unsigned kRadioCountType = 0x8703;

// Each list's channels are kept in blocks of 48, at most 21 blocks a list. Block k (from 0)
// has three records: a bitmap of channel numbers, a byte per channel, and the channel
// entries; their types are the list's first types plus k.
inline constexpr std::size_t kChannelsPerBlock = 48;
inline constexpr std::size_t kBlocksPerList = 21;
inline constexpr std::size_t kMaxChannelsPerList = kChannelsPerBlock * kBlocksPerList;

struct BlockTypes {
    unsigned bitmap;
    unsigned bytes;
    unsigned entries;
    static constexpr bool within(unsigned type, unsigned first) {
        return type >= first && type < first + kBlocksPerList;
    }
};
inline constexpr BlockTypes kTvBlocks{0x870A, 0x875A, 0x87AA};
inline constexpr BlockTypes kRadioBlocks{0x871F, 0x876F, 0x87BF};

// A channel entry: a 10-byte head (name length, a zero byte, NetId, TsId, SerId, TrId),
// then the name, padded to an even length.
inline constexpr std::size_t kEntryHead = 10;

// A channel entry as the name tables hold it: the head as 20 hex digits, then the name.
namespace entry {
inline constexpr Field kNameLength{0, 2};
inline constexpr Field kNetId{4, 4};
inline constexpr Field kTsId{8, 4};
inline constexpr Field kSerId{12, 4};
inline constexpr Field kTrId{16, 4};
inline constexpr Field kName{20};
inline constexpr Field kHead{0, 20};
inline constexpr Field kTransponderKey{4, 8};  // NetId, TsId
inline constexpr Field kServiceKey{4, 12};     // NetId, TsId, SerId
static_assert(kHead.length == kEntryHead * 2 && kName.offset == kHead.end());
}  // namespace entry

// A transponder record as hex text, header included. A tuned record holds the frequency
// as 8 decimal digits; an untuned one (ending in kUntunedMarker) whole MHz as a 16-bit
// number and two fraction digits, and its symbol rate 4 digits earlier.
namespace transponder {
inline constexpr std::size_t kHexSize = 56;
inline constexpr std::string_view kLengthHex = "0018";
inline constexpr Field kType{0, 4};
inline constexpr Field kLength{4, 4};
inline constexpr Field kNetId{8, 4};
inline constexpr Field kKey{12, 8};  // NetId again, TsId: what a channel entry names it by
inline constexpr Field kAnt{20, 4};
inline constexpr Field kAntAux{24, 4};
inline constexpr Field kFreq{28, 8};
inline constexpr Field kSat{37, 3};
inline constexpr Field kBand{40, 2};
inline constexpr Field kPol{42, 2};
inline constexpr Field kSrate{46, 6};
inline constexpr Field kTunedMarker{52, 2};
inline constexpr Field kFec{54, 2};
inline constexpr Field kUntunedMhz{28, 4};
inline constexpr Field kUntunedFraction{32, 2};
inline constexpr Field kUntunedSrate{42, 6};
inline constexpr Field kUntunedMarkerField{48, 8};
inline constexpr std::string_view kTunedMarkerHex = "01";
inline constexpr std::string_view kUntunedMarker = "0F000000";
inline constexpr std::string_view kUntunedSat = "203";
static_assert(kFec.end() == kHexSize && kUntunedMarkerField.end() == kHexSize);
}  // namespace transponder

// A PID record as hex text, header included.
namespace pid {
inline constexpr std::size_t kHexSize = 36;
inline constexpr std::string_view kLengthHex = "000E";
inline constexpr Field kType{0, 4};
inline constexpr Field kLength{4, 4};
inline constexpr Field kNetId{8, 4};
inline constexpr Field kTsId{12, 4};
inline constexpr Field kSerId{16, 4};
inline constexpr Field kServiceKey{8, 12};  // NetId, TsId, SerId
inline constexpr Field kKind{20, 4};
inline constexpr Field kVPid{24, 4};
inline constexpr Field kAPid{28, 4};
inline constexpr Field kPPid{32, 4};
inline constexpr std::string_view kKindHex = "8101";
static_assert(kPPid.end() == kHexSize);
}  // namespace pid

// An antenna's 10 bytes in the oscillator record and its 8 bytes in the names record.
inline constexpr std::size_t kAntennaOscillatorBytes = 10;
inline constexpr std::size_t kAntennaNameBytes = 8;

// This program's tag record value: "QEL" and a zero byte.
inline constexpr const char* kOwnTagHex = "51454C00";

}  // namespace qel::fta
