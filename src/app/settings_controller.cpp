#include "app/settings_controller.h"

#include "receiver_settings/osd_colors.h"

namespace qel {

SettingsController::SettingsController(Session& session, QObject* parent)
    : QObject(parent), session_(session) {}

void SettingsController::settingsOpening() {
    if (!keepWorkingCopy_) session_.workspace().copySettingsToWork();
    keepWorkingCopy_ = false;
}

SettingValue SettingsController::value(const SettingField& field) const {
    return showSetting(session_.workspace().settingsWork(), field);
}

bool SettingsController::settingsPresent() const {
    return session_.workspace().settingsLoaded() &&
           session_.workspace().fileType() != FileKind::BIN;
}

std::string SettingsController::workWith(
    std::span<const SettingField> fields,
    const std::function<SettingValue(const SettingField&)>& valueOf) const {
    std::string work = session_.workspace().settingsWork();
    for (const SettingField& f : fields)
        writeSetting(work, f, valueOf(f));
    return work;
}

void SettingsController::writeValues(
    std::span<const SettingField> fields,
    const std::function<SettingValue(const SettingField&)>& valueOf) {
    // A window left open over settings that have gone writes nothing back.
    if (!settingsPresent()) return;
    session_.workspace().setSettingsWork(workWith(fields, valueOf));
}

bool SettingsController::changesImage(
    std::span<const SettingField> fields,
    const std::function<SettingValue(const SettingField&)>& valueOf) const {
    return settingsPresent() && workWith(fields, valueOf) != session_.workspace().settingsImage();
}

bool SettingsController::colorsChangeImage(
    const std::array<std::string, kColorItems>& values) const {
    if (!settingsPresent()) return false;
    std::string work = session_.workspace().settingsWork();
    qel::writeColors(work, values);
    return work != session_.workspace().settingsImage();
}

bool SettingsController::storeSettings() {
    if (!settingsPresent()) return false;
    session_.workspace().storeSettingsWork();
    return true;
}

std::array<std::string, kColorItems> SettingsController::colors() const {
    return readColors(session_.workspace().settingsWork());
}

void SettingsController::writeColors(const std::array<std::string, kColorItems>& values) {
    if (!settingsPresent()) return;
    std::string work = session_.workspace().settingsWork();
    qel::writeColors(work, values);
    session_.workspace().setSettingsWork(std::move(work));
}

bool SettingsController::storeFtaSettings(const std::array<std::string, kAntennaEntries>& antennas,
                                          const std::string& secretCode, ScreenFormat format) {
    // The tables of an image that is no longer loaded take nothing.
    if (session_.workspace().fileType() != FileKind::BIN) return false;
    FtaImageTables t = session_.workspace().imageTables();
    for (std::size_t i = 0; i < antennas.size(); ++i)
        t.antennas[i] = antennas[i];
    if (showSecretCode(t.settingsRecord) != secretCode) {
        t.settingsRecord = storeSecretCode(t.settingsRecord, secretCode);
    }
    const ScreenFormat shown = showScreenFormat(t.screenFormat);
    if (shown.is4_3 != format.is4_3 || shown.full != format.full) {
        t.screenFormat = storeScreenFormat(t.screenFormat, format);
    }
    session_.workspace().storeImageTables(std::move(t));
    return true;
}

}  // namespace qel
