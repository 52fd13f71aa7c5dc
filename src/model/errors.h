// Error codes returned by the core's readers, writers and commands, and the
// program's English message for each. The windows show the same texts translated.
#pragma once

#include <string_view>
#include <utility>
#include <variant>

namespace qel {

enum class ErrorCode {
    CannotOpenFile,       // the file does not exist or cannot be read
    CannotWriteFile,      // the target or its temporary file cannot be written
    FileTooLarge,         // larger than any file of its kind can be
    WrongFileLength,      // .dvb not a multiple of 64, .g98 not 1265, .bin not 49152 bytes
    NoDvb98Settings,      // a .g98 save without a loaded settings image
    TooManyChannelsDvb,   // 3072 channels or more for a DVB98 save or upload
    TooManyChannelsFta,   // more than 256 transponders or data beyond the image
    UnsupportedFileType,  // a file name whose extension no reader or writer handles
};

// The program's English text for an error, exactly as the user sees it.
std::string_view EnglishMessage(ErrorCode code);

// Outcome of an operation that yields nothing but may fail.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(ErrorCode code) : failed_(true), code_(code) {}  // NOLINT: implicit on purpose

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    ErrorCode error() const { return code_; }

private:
    bool failed_ = false;
    ErrorCode code_ = ErrorCode::CannotOpenFile;
};

// A value or the error that prevented it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}  // NOLINT: implicit on purpose
    Result(ErrorCode code) : v_(code) {}       // NOLINT: implicit on purpose

    bool ok() const { return std::holds_alternative<T>(v_); }
    explicit operator bool() const { return ok(); }
    ErrorCode error() const { return std::get<ErrorCode>(v_); }

    T& value() & { return std::get<T>(v_); }
    const T& value() const& { return std::get<T>(v_); }
    T&& value() && { return std::get<T>(std::move(v_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    Status status() const { return ok() ? Status() : Status(error()); }

private:
    std::variant<T, ErrorCode> v_;
};

}  // namespace qel
