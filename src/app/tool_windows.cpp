#include "app/tool_windows.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstring>

namespace qel {

namespace {

bool always(const CommandState&) {
    return true;
}

// clang-format off
const std::array<ToolWindowInfo, 12> kToolWindows = {{
    {"DataForm", Tab::Data, Command::Edit, QT_TRANSLATE_NOOP("qel::MainWindow", "Data"),
        [](const CommandState& s) { return s.list.edit; }, "channel-data.html"},
    // The Buffer tab's caption is the same in every language.
    {"BufferForm", Tab::Buffer, std::nullopt, "Buffer",
        [](const CommandState& s) { return s.list.buffer; }, "buffer.html"},
    // The Settings tab opens the DVB98 settings, or the FTA settings for an image; the DVB98
    // settings open the further settings and the colours in their place.
    {"SettingDVB_1Form", Tab::Settings, Command::Settings,
        QT_TRANSLATE_NOOP("qel::MainWindow", "Settings"),
        [](const CommandState& s) { return s.list.settings; }, "settings.html#dvb98"},
    {"SettingDVB_2Form", Tab::Settings, std::nullopt, nullptr, nullptr, "settings.html#dvb98"},
    {"SettingsDVB_ColorForm", Tab::Settings, std::nullopt, nullptr, nullptr,
        "settings.html#colours"},
    {"SettingsFTAForm", Tab::Settings, std::nullopt, nullptr, nullptr, "settings.html#fta"},
    {"FontForm", Tab::Fonts, Command::Fonts, QT_TRANSLATE_NOOP("qel::MainWindow", "Fonts"),
        [](const CommandState& s) { return s.fontLoaded; }, "fonts.html"},
    {"SerialForm", Tab::Serial, Command::Serial, QT_TRANSLATE_NOOP("qel::MainWindow", "Serial"),
        always, "serial.html"},
    {"ExportForm", Tab::Export, Command::Export, QT_TRANSLATE_NOOP("qel::MainWindow", "Export"),
        [](const CommandState& s) { return s.list.exportList; }, "export.html"},
    {"OptionsForm", Tab::Options, Command::Options, QT_TRANSLATE_NOOP("qel::MainWindow", "Options"),
        always, "start.html#options"},
    {"CheckForm", std::nullopt, Command::CheckList, nullptr, nullptr, "check.html"},
    {"CompareForm", std::nullopt, Command::CompareWithFile, nullptr, nullptr,
        "files.html#compare"},
}};
// clang-format on

}  // namespace

std::span<const ToolWindowInfo> toolWindowTable() {
    return kToolWindows;
}

const ToolWindowInfo& tabWindow(Tab tab) {
    return *std::find_if(kToolWindows.begin(), kToolWindows.end(),
                         [tab](const ToolWindowInfo& w) { return w.tab == tab; });
}

const ToolWindowInfo* toolWindowNamed(const char* objectName) {
    const auto* row = std::find_if(
        kToolWindows.begin(), kToolWindows.end(),
        [objectName](const auto& w) { return std::strcmp(w.objectName, objectName) == 0; });
    return row != kToolWindows.end() ? row : nullptr;
}

}  // namespace qel
