// The serial line on Windows: a COM port opened by CreateFileW, framed by SetCommState (8N1,
// no flow control), waited on by timed reads that look at the cancel flag between them, its
// output queue from ClearCommError and the line's own time for the drain.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <thread>

#include "line/line_timing.h"
#include "line/port_text.h"
#include "line/serial_line.h"

namespace qel {

namespace {

using namespace line;

std::string systemText(DWORD error) {
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = n > 0 && text != nullptr ? std::string(text, n) : std::string();
    if (text != nullptr) ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.'))
        out.pop_back();
    return out.empty() ? "error " + std::to_string(error) : out;
}

Status systemError(std::string_view what, DWORD error) {
    return Error{ErrorCode::PortError, std::string(what) + ": " + systemText(error)};
}

// The errors of a port whose device went away (a USB adapter pulled out, Wine's far side of
// a pseudo-terminal closed).
bool isHangUp(DWORD error) {
    return error == ERROR_DEVICE_REMOVED || error == ERROR_BAD_COMMAND ||
           error == ERROR_OPERATION_ABORTED || error == ERROR_GEN_FAILURE ||
           error == ERROR_INVALID_HANDLE || error == ERROR_BROKEN_PIPE;
}

Status lineError(const std::string& device, DWORD error) {
    if (isHangUp(error)) return Error{ErrorCode::PortError, std::string(kHungUp)};
    return systemError(device, error);
}

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// Reads wait for the first byte at most kCancelCheck and return what has come at once;
// writes give up after kWriteStall plus twice the bytes' own time.
bool setTimeouts(HANDLE port, int baud) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = static_cast<DWORD>(kCancelCheck.count());
    t.WriteTotalTimeoutMultiplier = static_cast<DWORD>(20000 / std::max(baud, 1) + 1);
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(kWriteStall.count());
    return ::SetCommTimeouts(port, &t) != 0;
}

}  // namespace

std::string serialDevice(std::string_view portText) {
    const line::PortText port = line::readPortText(portText, 256);
    if (port.number > 0) return "\\\\.\\COM" + std::to_string(port.number);
    return std::string(port.text);
}

Status portOpenFailure(const std::string& device, int error) {
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
        return Error{ErrorCode::PortError, device + ": the port is in use by another program"};
    }
    return systemError(device, static_cast<DWORD>(error));
}

Result<std::unique_ptr<SerialLine>> SerialLine::open(const std::string& device, int baud) {
    const std::wstring name = widen(device);
    // No sharing: another program opening the port meanwhile would take bytes meant for this one.
    HANDLE port = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return portOpenFailure(device, static_cast<int>(::GetLastError()));
    }
    std::unique_ptr<SerialLine> line(new SerialLine(port, device));
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) {
        return Error{ErrorCode::PortError, device + ": not a serial port"};
    }
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!::SetCommState(port, &dcb)) return systemError(device, ::GetLastError());
    ::SetupComm(port, 4096, 4096);
    if (Status st = line->setSpeed(baud); !st) return st;
    line->setRts(false);
    line->setDtr(false);
    ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    return line;
}

SerialLine::~SerialLine() {
    ::CloseHandle(static_cast<HANDLE>(handle_));
}

bool SerialLine::lineLost() const {
    return lost_;
}

Status SerialLine::setSpeed(int baud) {
    switch (baud) {
        case 9600:
        case 19200:
        case 38400:
        case 57600:
        case 115200:
            break;
        default:
            return Error{ErrorCode::PortError, "speed " + std::to_string(baud)};
    }
    HANDLE port = static_cast<HANDLE>(handle_);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) return systemError(device_, ::GetLastError());
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    if (!::SetCommState(port, &dcb) || !setTimeouts(port, baud)) {
        return systemError(device_, ::GetLastError());
    }
    baud_ = baud;
    return {};
}

void SerialLine::setModemLine(int line, bool on) {
    // A port without modem lines refuses, which is fine.
    ::EscapeCommFunction(static_cast<HANDLE>(handle_), static_cast<DWORD>(line));
    (void)on;  // the function code says set or clear
}

void SerialLine::setRts(bool on) {
    setModemLine(on ? SETRTS : CLRRTS, on);
}

void SerialLine::setDtr(bool on) {
    setModemLine(on ? SETDTR : CLRDTR, on);
}

Status SerialLine::write(std::string_view bytes) {
    HANDLE port = static_cast<HANDLE>(handle_);
    // Pieces of about a tenth of a second on the line, so that Cancel is heard between them.
    const std::size_t piece = std::max<std::size_t>(16, static_cast<std::size_t>(baud_) / 100);
    while (!bytes.empty()) {
        if (cancelled()) return ErrorCode::TransferCancelled;
        const DWORD size = static_cast<DWORD>(std::min(bytes.size(), piece));
        DWORD written = 0;
        if (!::WriteFile(port, bytes.data(), size, &written, nullptr)) {
            const DWORD error = ::GetLastError();
            lost_ = lost_ || isHangUp(error);
            return lineError(device_, error);
        }
        if (written == 0) {
            return Error{ErrorCode::PortError, device_ + ": the line takes no more bytes"};
        }
        bytes.remove_prefix(written);
        lineFree_ = std::max(lineFree_, Clock::now()) + exactLineTime(written, baud_);
    }
    return {};
}

bool SerialLine::drain(Millis timeout) {
    HANDLE port = static_cast<HANDLE>(handle_);
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        // Bytes never leave a line that was hung up: there is nothing to wait for.
        if (!::ClearCommError(port, &errors, &status)) return false;
        const Clock::time_point now = Clock::now();
        if (status.cbOutQue == 0 && now >= lineFree_) return true;
        if (cancelled() || now >= deadline) return false;
        Clock::duration wait =
            status.cbOutQue > 0 ? exactLineTime(status.cbOutQue, baud_) : lineFree_ - now;
        wait = std::clamp<Clock::duration>(wait, std::chrono::milliseconds(1), kCancelCheck);
        std::this_thread::sleep_for(std::min(wait, deadline - now));
    }
}

Status SerialLine::receive(std::string& received, Millis timeout) {
    HANDLE port = static_cast<HANDLE>(handle_);
    const Clock::time_point deadline = Clock::now() + timeout;
    char buffer[kReadChunk];
    // The first bytes: each read waits at most kCancelCheck for them.
    for (;;) {
        if (cancelled()) return {};
        DWORD got = 0;
        if (!::ReadFile(port, buffer, 1, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            lost_ = lost_ || isHangUp(error);
            return lineError(device_, error);
        }
        if (got > 0) {
            received.append(buffer, got);
            break;
        }
        if (Clock::now() >= deadline) return {};
    }
    // Then what the driver holds, without waiting.
    std::size_t taken = 1;
    while (taken < kMostReadAtOnce) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(port, &errors, &status) || status.cbInQue == 0) break;
        const DWORD want = static_cast<DWORD>(std::min(
            {static_cast<std::size_t>(status.cbInQue), sizeof buffer, kMostReadAtOnce - taken}));
        DWORD got = 0;
        if (!::ReadFile(port, buffer, want, &got, nullptr)) break;
        if (got == 0) break;
        received.append(buffer, got);
        taken += got;
    }
    return {};
}

void SerialLine::dropInput() {
    ::PurgeComm(static_cast<HANDLE>(handle_), PURGE_RXCLEAR);
}

void SerialLine::pause(Millis duration) {
    const Clock::time_point deadline = Clock::now() + duration;
    while (!cancelled()) {
        const auto left = std::chrono::ceil<Millis>(deadline - Clock::now());
        if (left <= Millis{0}) return;
        std::this_thread::sleep_for(std::min(left, kCancelCheck));
    }
}

std::chrono::steady_clock::time_point SerialLine::now() const {
    return Clock::now();
}

}  // namespace qel
