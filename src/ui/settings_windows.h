// Opens the editor windows from their tabs: the channel data editor (Data), and for the
// Settings tab the DVB98 settings windows and colour editor or the FTA settings window.
// The DVB98 windows share the working copy of the settings: it is taken from the image
// when the Settings tab opens, except on the way back from the further settings or the
// colours, whose values must reach "Save settings".
#pragma once

#include <QObject>

#include "app/session.h"

namespace qel {

class EditingController;
class MainForm;

class SettingsWindows : public QObject {
    Q_OBJECT

public:
    SettingsWindows(Session& session, MainForm& main, EditingController& editing,
                    QObject* parent = nullptr);

private:
    QWidget* OpenSettings(QWidget* parent);
    void BackToSettings();

    Session& s_;
    MainForm& main_;
    EditingController& editing_;
    bool keepWorkingCopy_ = false;
};

}  // namespace qel
