// The program's controllers without a window: a fresh session over a folder of test files,
// scripted dialogs, and the controllers built and connected to each other as the program
// builds them. Tests drive the commands and check the session, the files and what was asked.
#pragma once

#include <QObject>

#include "app/editing_controller.h"
#include "app/export_controller.h"
#include "app/file_controller.h"
#include "app/font_controller.h"
#include "app/list_controller.h"
#include "app/serial_controller.h"
#include "app/settings_controller.h"
#include "support/app_fixture.h"

namespace qel::test {

struct ControllerFixture : AppFixture {
private:
    ListController list_{session};
    EditingController editing_{session, list_, prompter};
    FileController files_{session, list_, editing_, prompter, chooser, &recent};
    SettingsController settings_{session};
    SerialController serial_{session, prompter};
    ExportController exporter_{session, store, QStringLiteral("00.00.00")};
    FontController fonts_{session, prompter, chooser};

public:
    ControllerFixture() {
        // Lists from the receiver start a new history and are shown from row 1.
        QObject::connect(&serial_, &SerialController::channelsDownloaded, &editing_, [this] {
            editing_.clearHistory();
            list_.selectOnly(1);
        });
    }

    ListController& list() { return list_; }
    EditingController& editing() { return editing_; }
    FileController& files() { return files_; }
    SettingsController& settingsController() { return settings_; }
    SerialController& serial() { return serial_; }
    ExportController& exporter() { return exporter_; }
    FontController& fonts() { return fonts_; }

    // Runs a file command with `path` chosen in its dialog (an empty path cancels it).
    void run(void (FileController::*command)(), const QString& path) {
        chooser.choose(path);
        (files_.*command)();
    }
    bool load(const QString& path) {
        run(&FileController::loadChannels, path);
        return session.channelFile() == path;
    }
};

}  // namespace qel::test
