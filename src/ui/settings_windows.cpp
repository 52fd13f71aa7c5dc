#include "ui/settings_windows.h"

#include "ui/color_form.h"
#include "ui/data_form.h"
#include "ui/dvb98_settings_forms.h"
#include "ui/editing_controller.h"
#include "ui/fta_settings_form.h"
#include "ui/main_form.h"

namespace qel {

SettingsWindows::SettingsWindows(Session& session, MainForm& main, EditingController& editing,
                                 QObject* parent)
    : QObject(parent), s_(session), main_(main), editing_(editing) {
    main_.setToolWindow(MainForm::DataTab, [this](QWidget* p) {
        auto* form = new DataForm(s_, main_, &editing_, p);
        // A command that changes the edited channel under the editor closes it.
        connect(&editing_, &EditingController::listsEdited, form, [form] {
            if (!form->StillEditing()) form->close();
        });
        return form;
    });
    main_.setToolWindow(MainForm::SettingsTab, [this](QWidget* p) { return OpenSettings(p); });
}

QWidget* SettingsWindows::OpenSettings(QWidget* parent) {
    if (s_.ws.FileType == FileKind::BIN) return new SettingsFTAForm(s_, parent);
    if (!keepWorkingCopy_) s_.ws.DVB98SettingsWork = s_.ws.DVB98Settings;
    keepWorkingCopy_ = false;
    auto* general = new SettingDVB_1Form(s_, parent);
    connect(general, &SettingDVB_1Form::moreRequested, this, [this, parent] {
        auto* further = new SettingDVB_2Form(s_, parent);
        connect(further, &SettingDVB_2Form::backRequested, this, &SettingsWindows::BackToSettings);
        main_.replaceOpenChild(further);
    });
    connect(general, &SettingDVB_1Form::colorsRequested, this, [this, parent] {
        auto* colors = new SettingsDVB_ColorForm(s_, parent);
        connect(colors, &SettingsDVB_ColorForm::backRequested, this,
                &SettingsWindows::BackToSettings);
        main_.replaceOpenChild(colors);
    });
    return general;
}

void SettingsWindows::BackToSettings() {
    keepWorkingCopy_ = true;
    main_.selectTab(MainForm::SettingsTab);
}

}  // namespace qel
