#include "model/errors.h"

#include <cerrno>
#include <cstring>

#include <locale.h>

#include "model/translatable_text.h"

namespace qel {

namespace {

struct ErrorEntry {
    ErrorCode code;
    const char* text;
    bool namesFile;
};

constexpr ErrorEntry kErrors[] = {
    {ErrorCode::CannotOpenFile, QEL_TRANSLATE_NOOP("Texts", "Cannot open the file"), true},
    {ErrorCode::CannotWriteFile, QEL_TRANSLATE_NOOP("Texts", "Cannot write the file"), true},
    {ErrorCode::FileTooLarge, QEL_TRANSLATE_NOOP("Texts", "File too large"), true},
    {ErrorCode::WrongFileLength, QEL_TRANSLATE_NOOP("Texts", "Wrong file lenght"), false},
    {ErrorCode::NoDvb98Settings, QEL_TRANSLATE_NOOP("Texts", "No DVB98 settings loaded"), false},
    {ErrorCode::TooManyChannelsDvb,
     QEL_TRANSLATE_NOOP("Texts", "Too many channels for DVB 98 : no Upload/Save "), false},
    {ErrorCode::TooManyChannelsFta,
     QEL_TRANSLATE_NOOP("Texts", "Too many channels for FTA : no Upload/Save "), false},
    {ErrorCode::UnsupportedFileType, QEL_TRANSLATE_NOOP("Texts", "Unsupported file type"), true},
    {ErrorCode::PortError, QEL_TRANSLATE_NOOP("Texts", "Error on COM"), false},
    {ErrorCode::PortNoPermission,
     QEL_TRANSLATE_NOOP("Texts", "No permission to use the serial port"), false},
    {ErrorCode::NoAnswer, QEL_TRANSLATE_NOOP("Texts", "Error"), false},
    {ErrorCode::DownloadFailed, QEL_TRANSLATE_NOOP("Texts", "Error during download"), false},
    {ErrorCode::WrongChecksum, QEL_TRANSLATE_NOOP("Texts", "Wrong checksum"), false},
    {ErrorCode::WrongChannelDataSize,
     QEL_TRANSLATE_NOOP("Texts", "The receiver reports a wrong size of channel data"), false},
    {ErrorCode::TransferCancelled, QEL_TRANSLATE_NOOP("Texts", "Transfer cancelled"), false},
    {ErrorCode::NoChannelsLoaded, QEL_TRANSLATE_NOOP("Texts", "No channels loaded"), false},
    {ErrorCode::UploadFailed, QEL_TRANSLATE_NOOP("Texts", "Error during upload"), false},
    {ErrorCode::SettingsNotTagged, QEL_TRANSLATE_NOOP("Texts", "Error"), false},
    {ErrorCode::LoaderTimeout, QEL_TRANSLATE_NOOP("Texts", "Timeout"), false},
    // Another text than UploadFailed's, with its trailing blank, and translated otherwise.
    {ErrorCode::LoaderUploadFailed, QEL_TRANSLATE_NOOP("Texts", "Error during upload "), false},
    {ErrorCode::FlashIncomplete,
     QEL_TRANSLATE_NOOP("Texts", "The receiver's flash is incomplete: write the image again"),
     false},
    {ErrorCode::VerifyFailed,
     QEL_TRANSLATE_NOOP("Texts", "The receiver does not hold what was sent"), false},
    // The import texts end where the row number follows.
    {ErrorCode::WrongLineLength, QEL_TRANSLATE_NOOP("Texts", "Wrong lenght in row "), false},
    {ErrorCode::FieldNotNumber, QEL_TRANSLATE_NOOP("Texts", "Not a valid value in row "), false},
    {ErrorCode::DiseqcPortOutOfRange, QEL_TRANSLATE_NOOP("Texts", "DiSEqC port not 1-4 in row "),
     false},
    {ErrorCode::CharacterNotLatin1, QEL_TRANSLATE_NOOP("Texts", "Character above 255 in row "),
     false},
    {ErrorCode::CsvUnknownColumn, QEL_TRANSLATE_NOOP("Texts", "Unknown column in row "), false},
    {ErrorCode::CsvMissingColumn, QEL_TRANSLATE_NOOP("Texts", "Missing column in row "), false},
    {ErrorCode::CsvWrongFieldCount, QEL_TRANSLATE_NOOP("Texts", "Wrong number of fields in row "),
     false},
    {ErrorCode::CsvWrongFieldWidth, QEL_TRANSLATE_NOOP("Texts", "Wrong field width in row "),
     false},
    {ErrorCode::CsvWrongList, QEL_TRANSLATE_NOOP("Texts", "List not TV or RADIO in row "), false},
    {ErrorCode::CsvWrongQuoting, QEL_TRANSLATE_NOOP("Texts", "Wrong quotes in row "), false},
    // The program has always spelt it so, in both languages.
    {ErrorCode::WrongFontLength, QEL_TRANSLATE_NOOP("Texts", "Wrong lenght"), false},
    {ErrorCode::NoFontLoaded, QEL_TRANSLATE_NOOP("Texts", "No font loaded"), false},
    {ErrorCode::WrongPictureFile,
     QEL_TRANSLATE_NOOP("Texts", "File must be a 280x240 - 16 colours bitmap"), false},
    {ErrorCode::NoFlashRoutine,
     QEL_TRANSLATE_NOOP("Texts", "The flash routine \"rodflash.sbr\" was not found. Looked in:"),
     false},
    {ErrorCode::EmptyFirmware, QEL_TRANSLATE_NOOP("Texts", "The firmware file is empty"), true},
    // The receiver's three answers to a block; the texts are the same in both languages.
    {ErrorCode::FirmwareCrcError, QEL_TRANSLATE_NOOP("Texts", "CrC error"), false},
    {ErrorCode::FirmwareDecompressError, QEL_TRANSLATE_NOOP("Texts", "Decompressing error "),
     false},
    {ErrorCode::FirmwareWriteError, QEL_TRANSLATE_NOOP("Texts", "Programming  error"), false},
    {ErrorCode::FirmwareIncomplete,
     QEL_TRANSLATE_NOOP("Texts",
                        "The upgrade was stopped: the receiver's firmware may now be incomplete. "
                        "Repeat the upgrade before switching the receiver off."),
     false},
    {ErrorCode::SaveOntoBrokenLink,
     QEL_TRANSLATE_NOOP("Texts", "Cannot save: the symbolic link leads to no file"), true},
    {ErrorCode::NoChannelsInFile, QEL_TRANSLATE_NOOP("Texts", "No channels in the file"), true},
    {ErrorCode::ImageDamaged, QEL_TRANSLATE_NOOP("Texts", "The image is damaged"), true},
    {ErrorCode::ImageTooLarge,
     QEL_TRANSLATE_NOOP("Texts", "The image is larger than Qt's image readers decode"), true},
    {ErrorCode::SatellitesXmlDamaged,
     QEL_TRANSLATE_NOOP("Texts", "The file is not a satellites.xml the program can read"), true},
    {ErrorCode::SatellitesXmlRefused,
     QEL_TRANSLATE_NOOP("Texts",
                        "The satellites.xml holds declarations or nesting the program refuses"),
     true},
    {ErrorCode::NotTextFile, QEL_TRANSLATE_NOOP("Texts", "Not a text file"), true},
};

const ErrorEntry* entryOf(ErrorCode code) {
    for (const ErrorEntry& e : kErrors) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

}  // namespace

std::string_view errorText(ErrorCode code) {
    const ErrorEntry* e = entryOf(code);
    return e != nullptr ? e->text : "Error";
}

bool errorNamesFile(ErrorCode code) {
    const ErrorEntry* e = entryOf(code);
    return e != nullptr && e->namesFile;
}

const std::string& Status::detail() const {
    static const std::string kNone;
    return error_ ? error_->detail : kNone;
}

namespace {

struct SystemReason {
    int errnum;
    const char* text;
};

// The reasons a save or a read usually fails for, in the system's English words.
constexpr SystemReason kSystemReasons[] = {
    {ENOSPC, QEL_TRANSLATE_NOOP("Texts", "No space left on device")},
    {EACCES, QEL_TRANSLATE_NOOP("Texts", "Permission denied")},
    {EPERM, QEL_TRANSLATE_NOOP("Texts", "Operation not permitted")},
    {EROFS, QEL_TRANSLATE_NOOP("Texts", "Read-only file system")},
#ifdef EDQUOT
    {EDQUOT, QEL_TRANSLATE_NOOP("Texts", "Disk quota exceeded")},
#endif
    {EIO, QEL_TRANSLATE_NOOP("Texts", "Input/output error")},
    {ENOENT, QEL_TRANSLATE_NOOP("Texts", "No such file or directory")},
    {ENOTDIR, QEL_TRANSLATE_NOOP("Texts", "Not a directory")},
    {EISDIR, QEL_TRANSLATE_NOOP("Texts", "Is a directory")},
    {ENAMETOOLONG, QEL_TRANSLATE_NOOP("Texts", "File name too long")},
    {ELOOP, QEL_TRANSLATE_NOOP("Texts", "Too many levels of symbolic links")},
    {EFBIG, QEL_TRANSLATE_NOOP("Texts", "File too large")},
    {EMFILE, QEL_TRANSLATE_NOOP("Texts", "Too many open files")},
    {ENFILE, QEL_TRANSLATE_NOOP("Texts", "Too many open files in system")},
    {EBUSY, QEL_TRANSLATE_NOOP("Texts", "Device or resource busy")},
    {ETXTBSY, QEL_TRANSLATE_NOOP("Texts", "Text file busy")},
};

}  // namespace

std::string systemErrorText(int errnum) {
    for (const SystemReason& r : kSystemReasons) {
        if (r.errnum == errnum) return r.text;
    }
#ifndef _WIN32
    // The system's own text, in English whatever the process's locale.
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    if (english != locale_t{}) return ::strerror_l(errnum, english);
#else
    // The C runtime's texts are English.
    char text[128] = {};
    if (::strerror_s(text, sizeof text, errnum) == 0 && text[0] != '\0') return text;
#endif
    return "error " + std::to_string(errnum);
}

}  // namespace qel
