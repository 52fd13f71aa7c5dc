// The tool windows of the main window, one row each: the tab or the menu command that opens
// it, its object name (its remembered place, its help page and tests find it by that), the
// tab's caption, when the tab may be selected and the help page that tells about it. The
// tab strip, its gates, the help and the composition root's factories read these rows; a
// new tool window is one row here and its factory in the composition root.
#pragma once

#include <optional>
#include <span>

#include "app/commands.h"

namespace qel {

struct ToolWindowInfo {
    const char* objectName;
    std::optional<Tab> tab;          // the tab it shows on; none: it opens from a menu only
    std::optional<Command> command;  // the menu command that opens it; none: its tab or another
                                     // window of the tab does
    // The tab's caption, translated in the context "qel::MainWindow", and when the tab can be
    // selected (given that a window is registered on it); null in the windows that show on
    // a tab after its first.
    const char* caption;
    bool (*enabled)(const CommandState&);
    const char* helpPage;  // relative to the help's first page
};

// Every tool window; the first row of a tab is the window its factory opens.
std::span<const ToolWindowInfo> toolWindowTable();
// The row of the window that a tab opens (every tab but the list's own).
const ToolWindowInfo& tabWindow(Tab tab);
// The row of the window of that object name; null when no tool window is named so.
const ToolWindowInfo* toolWindowNamed(const char* objectName);

}  // namespace qel
