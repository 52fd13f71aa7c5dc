// Error codes returned by the core's readers, writers, commands and exchanges, the one
// table of their English texts, and the result types that carry them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace qel {

enum class ErrorCode {
    CannotOpenFile,        // the file does not exist or cannot be read
    CannotWriteFile,       // the target or its temporary file cannot be written
    FileTooLarge,          // larger than any file of its kind can be
    WrongFileLength,       // .dvb not a multiple of 64, .g98 not 1265, .bin not 49152 bytes
    NoDvb98Settings,       // a .g98 save without a loaded settings image
    TooManyChannelsDvb,    // 3072 channels or more for a DVB98 save or upload
    TooManyChannelsFta,    // more than 256 transponders or data beyond the image
    UnsupportedFileType,   // a file name whose extension no reader or writer handles
    PortError,             // the serial port cannot be opened or set up, or the line failed
    PortNoPermission,      // the user may not open the port; the detail names its group
    NoAnswer,              // the receiver did not answer a request in time
    DownloadFailed,        // the channel data did not arrive whole or intact
    WrongChecksum,         // a block arrived whole but its checksum byte differs
    WrongChannelDataSize,  // the receiver reports a size that no channel table has
    TransferCancelled,     // the user stopped the transfer, or declined it
    NoChannelsLoaded,      // a channel upload with no channels loaded
    UploadFailed,          // a DVB98 channel upload got no answer at one of its waits
    SettingsNotTagged,     // settings to upload that are not DVB98 settings ("DVSO")
    LoaderTimeout,         // the FTA loader never answered the wake-up pair
    LoaderUploadFailed,    // the FTA loader missed an answer before the first block
    FlashIncomplete,       // an FTA upload stopped between its blocks
    VerifyFailed,          // what the receiver holds after an upload differs from what was sent
    // Text and CSV imports: each names a row (and mostly a field) beside its text.
    WrongLineLength,       // a text line of neither 100 nor 20 characters
    FieldNotNumber,        // a field that is not the number (or the text) its column takes
    DiseqcPortOutOfRange,  // a DiSEqC port digit other than 1-4
    CharacterNotLatin1,    // a character above 255, which no channel name can hold
    CsvUnknownColumn,      // a header cell that names no column, or names one twice
    CsvMissingColumn,      // a column the header lacks
    CsvWrongFieldCount,    // a row with more or fewer fields than the header
    CsvWrongFieldWidth,    // a field whose text is not as wide as the record's field
    CsvWrongList,          // a list cell other than TV or RADIO
    CsvWrongQuoting,       // a quote where RFC 4180 allows none, or one never closed
    WrongFontLength,       // a font file whose size is not the one its name's type takes
    NoFontLoaded,          // a font upload with no font of that kind loaded
    WrongPictureFile,      // a boot picture of another length, or an image that cannot be read
    // The firmware upgrade.
    NoFlashRoutine,           // the flash routine file is in none of the places it is looked for
    EmptyFirmware,            // a firmware file of no bytes, which would only erase the flash
    FirmwareCrcError,         // no "B": the routine found the block's CRC wrong
    FirmwareDecompressError,  // no "D": the routine could not decompress the block
    FirmwareWriteError,       // no "F": the routine could not write the block into the flash
    FirmwareIncomplete,       // cancelled after the flash was erased: the firmware is partial
    // Saving.
    SaveOntoBrokenLink,  // the target is a symbolic link to no file, or a loop of links
    NoChannelsInFile,    // a text or CSV import that holds not one channel or header entry
    ImageDamaged,        // an image its reader finds cut short or corrupt
    ImageTooLarge,       // an image beyond what Qt's image readers decode
    // satellites.xml; the detail names the line and what is wrong.
    SatellitesXmlDamaged,  // not the satellites > sat > transponder shape, or a bad value
    SatellitesXmlRefused,  // a declaration (entity expansion) or nesting the program refuses
    NotTextFile,           // a names file holding control characters: not a text at all
};

// The program's English text for an error, exactly as the user reads it. The windows show
// it translated; the texts are collected for translation under kErrorTextContext.
std::string_view errorText(ErrorCode code);
inline constexpr const char* kErrorTextContext = "Texts";

// Whether the message for an error names the file it concerns.
bool errorNamesFile(ErrorCode code);

// An error with an optional detail that says where it happened ("block 7 of 48").
struct Error {
    ErrorCode code = ErrorCode::CannotOpenFile;
    std::string detail;
};

// Outcome of an operation that yields nothing but may fail.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(ErrorCode code) : error_(Error{code, {}}) {}  // NOLINT: implicit on purpose
    Status(Error error) : error_(std::move(error)) {}    // NOLINT: implicit on purpose

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    ErrorCode error() const { return error_ ? error_->code : ErrorCode::CannotOpenFile; }
    const std::string& detail() const;
    Error fullError() const { return error_.value_or(Error{}); }

private:
    std::optional<Error> error_;
};

// A value or the error that prevented it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}                 // NOLINT: implicit on purpose
    Result(ErrorCode code) : v_(Error{code, {}}) {}           // NOLINT: implicit on purpose
    Result(Error error) : v_(std::move(error)) {}             // NOLINT: implicit on purpose
    Result(const Status& failed) : v_(failed.fullError()) {}  // NOLINT: implicit on purpose

    bool ok() const { return std::holds_alternative<T>(v_); }
    explicit operator bool() const { return ok(); }
    ErrorCode error() const { return std::get<Error>(v_).code; }
    const std::string& detail() const { return std::get<Error>(v_).detail; }

    T& value() & { return std::get<T>(v_); }
    const T& value() const& { return std::get<T>(v_); }
    T&& value() && { return std::get<T>(std::move(v_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    Status status() const { return ok() ? Status() : Status(std::get<Error>(v_)); }

private:
    std::variant<T, Error> v_;
};

// The system's reason for a failed file operation (an errno value), in English, for the
// detail of an error: the program's own texts, translated like the error texts, for the usual
// reasons; the system's English text for the rest.
std::string systemErrorText(int errnum);

}  // namespace qel
