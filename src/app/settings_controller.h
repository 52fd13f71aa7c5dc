// The settings windows' logic without widgets. The DVB98 settings windows share a working
// copy of the settings image: it is taken from the image when the Settings tab opens,
// except on the way back from the further settings or the colours, whose values must
// reach "Save settings". The FTA settings window stores its antennas, secret code and
// screen format into the image tables.
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <span>
#include <string>

#include "app/session.h"
#include "receiver_settings/dvb98_settings.h"
#include "receiver_settings/fta_settings.h"
#include "receiver_settings/osd_colors.h"

namespace qel {

class SettingsController : public QObject {
    Q_OBJECT

public:
    explicit SettingsController(Session& session, QObject* parent = nullptr);

    // The Settings tab opens: the DVB98 windows start from the image unless they come back
    // from the further settings or the colours.
    void settingsOpening();
    void returningToSettings() { keepWorkingCopy_ = true; }

    // The controls' values in the working copy, and the controls written into it.
    SettingValue value(const SettingField& field) const;
    void writeValues(std::span<const SettingField> fields,
                     const std::function<SettingValue(const SettingField&)>& valueOf);
    // Whether "Save settings" would change the image once these values are written into the
    // working copy: the DVB98 windows' edits not stored yet.
    bool changesImage(std::span<const SettingField> fields,
                      const std::function<SettingValue(const SettingField&)>& valueOf) const;
    bool colorsChangeImage(const std::array<std::string, kColorItems>& values) const;
    // "Save settings": the working copy becomes the image, unsaved. Refused (false) when the
    // DVB98 settings are no longer loaded: a window left open over them writes nothing back.
    bool storeSettings();
    // DVB98 settings are loaded for the windows to edit.
    bool settingsPresent() const;

    // The colour editor's values and writing them back into the working copy.
    std::array<std::string, kColorItems> colors() const;
    void writeColors(const std::array<std::string, kColorItems>& values);

    // The FTA settings window's Save: the antenna entries, and the secret code and the
    // screen format where they differ from what the tables show; the channels then count
    // as unsaved.
    bool storeFtaSettings(const std::array<std::string, kAntennaEntries>& antennas,
                          const std::string& secretCode, ScreenFormat format);

private:
    std::string workWith(std::span<const SettingField> fields,
                         const std::function<SettingValue(const SettingField&)>& valueOf) const;

    Session& session_;
    bool keepWorkingCopy_ = false;
};

}  // namespace qel
