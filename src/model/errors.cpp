#include "model/errors.h"

namespace qel {

std::string_view EnglishMessage(ErrorCode code) {
    switch (code) {
        case ErrorCode::CannotOpenFile:
            return "Cannot open the file";
        case ErrorCode::CannotWriteFile:
            return "Cannot write the file";
        case ErrorCode::FileTooLarge:
            return "File too large";
        case ErrorCode::WrongFileLength:
            return "Wrong file lenght";
        case ErrorCode::NoDvb98Settings:
            return "No DVB98 settings loaded";
        case ErrorCode::TooManyChannelsDvb:
            return "Too many channels for DVB 98 : no Upload/Save ";
        case ErrorCode::TooManyChannelsFta:
            return "Too many channels for FTA : no Upload/Save ";
        case ErrorCode::UnsupportedFileType:
            return "Unsupported file type";
    }
    return "Error";
}

}  // namespace qel
