#include "tool_platform.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "files/file_io.h"
#include "files/text_export.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: the others build on it.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace qel::tool {

namespace {

void (*gHandler)() = nullptr;

#ifdef _WIN32
std::string utf8Of(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating zero
    return out;
}

UINT gConsoleCodePage = 0;

void restoreConsoleCodePage() {
    if (gConsoleCodePage != 0) ::SetConsoleOutputCP(gConsoleCodePage);
}

BOOL WINAPI consoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (gHandler != nullptr) gHandler();
    return TRUE;
}
#else
extern "C" void onSignal(int) {
    if (gHandler != nullptr) gHandler();
}
#endif

}  // namespace

std::vector<std::string> arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(utf8Of(wide[i]));
        ::LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void prepareStandardStreams() {
#ifdef _WIN32
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    gConsoleCodePage = ::GetConsoleOutputCP();
    if (gConsoleCodePage != 0 && gConsoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        std::atexit(restoreConsoleCodePage);
    }
#endif
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    ::localtime_s(&local, &now);
#else
    ::localtime_r(&now, &local);
#endif
    return exportDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool stderrIsTerminal() {
#ifdef _WIN32
    return ::_isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

void onInterrupt(void (*handler)()) {
    gHandler = handler;
#ifdef _WIN32
    ::SetConsoleCtrlHandler(consoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
#endif
}

std::string programFolder() {
    std::error_code ec;
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::filesystem::path exe(path);
#else
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
#endif
    return utf8FromPath(exe.parent_path());
}

std::string userDataFolder() {
#ifdef _WIN32
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    if (appData != nullptr && *appData != L'\0') return utf8Of(appData) + "\\QEL\\QEL";
    return {};
#else
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && *dataHome == '/') return std::string(dataHome) + "/QEL/QEL";
    if (home != nullptr && *home != '\0') return std::string(home) + "/.local/share/QEL/QEL";
    return {};
#endif
}

}  // namespace qel::tool
