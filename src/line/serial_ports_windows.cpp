// The ports from the registry's SERIALCOMM key and from QueryDosDevice.
#include <windows.h>

#include "line/serial_ports.h"

namespace qel {

namespace {

std::string narrow(const wchar_t* text, std::size_t size) {
    // Port and device names are ASCII; anything else could not name a port anyway.
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        out.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
    return out;
}

std::vector<ReportedPort> registryPorts() {
    std::vector<ReportedPort> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0; index < 1024; ++index) {
        wchar_t name[256];
        wchar_t data[64];
        DWORD nameSize = 256;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        const LONG status = ::RegEnumValueW(key, index, name, &nameSize, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;  // too long, or not a text
        std::size_t length = dataSize / sizeof(wchar_t);
        while (length > 0 && data[length - 1] == L'\0')
            --length;
        const std::string port = narrow(data, length);
        std::string device = narrow(name, nameSize);
        if (const auto slash = device.rfind('\\'); slash != std::string::npos)
            device.erase(0, slash + 1);
        ports.push_back({port, device});
    }
    ::RegCloseKey(key);
    return ports;
}

std::vector<std::string> dosDevicePorts() {
    // The list grows with the system's devices: try larger buffers until it fits.
    for (DWORD size = 16 * 1024; size <= 4 * 1024 * 1024; size *= 4) {
        std::wstring list(size, L'\0');
        const DWORD n = ::QueryDosDeviceW(nullptr, list.data(), size);
        if (n == 0) {
            if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER) continue;
            return {};
        }
        return comPortsInDeviceList(narrow(list.data(), n));
    }
    return {};
}

}  // namespace

std::vector<ReportedPort> reportedSerialPorts() {
    std::vector<ReportedPort> ports = registryPorts();
    for (auto& name : dosDevicePorts())
        ports.push_back({std::move(name), {}});
    return ports;
}

}  // namespace qel
