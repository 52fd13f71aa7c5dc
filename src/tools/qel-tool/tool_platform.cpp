#include "tool_platform.h"

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qel::tool {

namespace {

void (*gHandler)() = nullptr;

#ifdef _WIN32
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

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    ::localtime_s(&local, &now);
#else
    ::localtime_r(&now, &local);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%y", &local);
    return text;
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
    return exe.parent_path().string();
}

std::string userDataFolder() {
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    if (appData != nullptr && *appData != '\0') return std::string(appData) + "\\QEL\\QEL";
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
