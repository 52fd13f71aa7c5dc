#include "ui/dvb98_settings_forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/key_filters.h"
#include "ui/texts.h"

namespace qel {

SettingsPage::SettingsPage(Session& session, std::span<const SettingField> fields, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(session), fields_(fields) {
    for (const SettingField& f : fields_) {
        QWidget* w = nullptr;
        if (!f.entries.empty()) {
            auto* box = new QComboBox(this);
            for (const char* e : f.entries)
                box->addItem(QString::fromLatin1(e));
            w = box;
        } else if (f.codec == SettingCodec::Check) {
            w = new QCheckBox(this);
        } else {
            auto* edit = new QLineEdit(this);
            const bool hex = f.codec == SettingCodec::HexWord || f.codec == SettingCodec::HexByte;
            const bool signedText = f.codec == SettingCodec::TimeOffset;
            if (hex) edit->setMaxLength(f.size * 2);
            if (!signedText)
                KeyFilter::Install(edit, hex ? KeyFilter::Kind::Hex : KeyFilter::Kind::Decimal);
            edit->setMaximumWidth(
                edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
            w = edit;
        }
        w->setObjectName(QString::fromLatin1(f.name));
        controls_.insert(QString::fromLatin1(f.name), w);
    }
}

void SettingsPage::AddRow(const char* field, int group) {
    while (groups_.size() <= group) {
        auto* box = new QGroupBox(this);
        new QFormLayout(box);
        groups_.append(box);
    }
    auto* label = new QLabel(this);
    QWidget* control = controls_.value(QLatin1String(field));
    label->setBuddy(control);
    labels_.insert(QLatin1String(field), label);
    static_cast<QFormLayout*>(groups_[group]->layout())->addRow(label, control);
}

void SettingsPage::SetLabel(const char* field, const QString& text) {
    if (QLabel* l = labels_.value(QLatin1String(field))) l->setText(text);
}

void SettingsPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) SetTexts();
    QWidget::changeEvent(event);
}

SettingValue SettingsPage::Value(const SettingField& f) const {
    SettingValue v;
    QWidget* w = controls_.value(QLatin1String(f.name));
    if (auto* box = qobject_cast<QComboBox*>(w)) v.index = box->currentIndex();
    if (auto* check = qobject_cast<QCheckBox*>(w)) v.checked = check->isChecked();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) v.text = Texts::ToLatin1(edit->text());
    return v;
}

void SettingsPage::SetValue(const SettingField& f, const SettingValue& v) {
    QWidget* w = controls_.value(QLatin1String(f.name));
    if (auto* box = qobject_cast<QComboBox*>(w)) box->setCurrentIndex(v.index);
    if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(v.checked);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(Texts::FromLatin1(v.text));
}

void SettingsPage::ShowFromWorkingCopy() {
    for (const SettingField& f : fields_)
        SetValue(f, ShowSetting(s_.ws.DVB98SettingsWork, f));
}

void SettingsPage::WriteToWorkingCopy() {
    for (const SettingField& f : fields_)
        WriteSetting(s_.ws.DVB98SettingsWork, f, Value(f));
}

SettingDVB_1Form::SettingDVB_1Form(Session& session, QWidget* parent)
    : SettingsPage(session, GeneralSettingFields(), parent) {
    setObjectName("SettingDVB_1Form");
    for (const char* f : {"LNB1Lof1", "LNB1Lof2", "SwitchFreq1", "LNB2Lof1", "LNB2Lof2",
                          "SwitchFreq2", "LNB3Lof1", "LNB3Lof2", "SwitchFreq3", "LNBLofC", "Ctrl",
                          "useVolt1", "useVolt2", "useVolt3", "useVolt4"}) {
        AddRow(f, 0);
    }
    for (const char* f : {"Baudrate", "LastPrgTV", "LastPrgRa", "ChScrollMode", "NumInBrowser",
                          "TimeOffset", "OSD", "Intro", "DispFreqName", "DispDimNormal",
                          "DispDimStdby", "CAMStatus", "SCSIDetect", "SCSI_ID", "ParenCtr"}) {
        AddRow(f, 1);
    }
    currentFile_ = new QLabel(this);
    currentFile_->setObjectName("CurrentSettingsFile");
    colors_ = new QPushButton(this);
    colors_->setObjectName("Colors");
    more_ = new QPushButton(this);
    more_->setObjectName("MoreSetting");
    save_ = new QPushButton(this);
    save_->setObjectName("SaveDVB98");
    connect(colors_, &QPushButton::clicked, this, &SettingDVB_1Form::colorsRequested);
    connect(more_, &QPushButton::clicked, this, &SettingDVB_1Form::moreRequested);
    connect(save_, &QPushButton::clicked, this, &SettingDVB_1Form::SaveDVB98);

    auto* columns = new QHBoxLayout;
    for (QGroupBox* g : groups_)
        columns->addWidget(g, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(currentFile_, 1);
    buttons->addWidget(colors_);
    buttons->addWidget(more_);
    buttons->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    SetTexts();
    ShowFromWorkingCopy();
}

void SettingDVB_1Form::SetTexts() {
    setWindowTitle(tr("QEL - DVB98 settings"));
    groups_[0]->setTitle(tr(" LNB and switching "));
    groups_[1]->setTitle(tr(" Receiver and display "));
    SetLabel("LNB1Lof1", tr("LNB 1, low band oscillator (MHz)"));
    SetLabel("LNB1Lof2", tr("LNB 1, high band oscillator (MHz)"));
    SetLabel("SwitchFreq1", tr("LNB 1, band switch frequency (MHz)"));
    SetLabel("LNB2Lof1", tr("LNB 2, low band oscillator (MHz)"));
    SetLabel("LNB2Lof2", tr("LNB 2, high band oscillator (MHz)"));
    SetLabel("LNB3Lof1", tr("LNB 3, low band oscillator (MHz)"));
    SetLabel("LNB3Lof2", tr("LNB 3, high band oscillator (MHz)"));
    SetLabel("SwitchFreq2", tr("LNB 2, band switch frequency (MHz)"));
    SetLabel("SwitchFreq3", tr("LNB 3, band switch frequency (MHz)"));
    SetLabel("LNBLofC", tr("C band LNB oscillator (MHz)"));
    SetLabel("Ctrl", tr("LNBs switched by"));
    SetLabel("useVolt1", tr("LNB 1 voltage follows"));
    SetLabel("useVolt2", tr("LNB 2 voltage follows"));
    SetLabel("useVolt3", tr("LNB 3 voltage follows"));
    SetLabel("useVolt4", tr("LNB 4 voltage follows"));
    SetLabel("Baudrate", tr("Serial port speed (baud)"));
    SetLabel("LastPrgTV", tr("TV channel at power-on"));
    SetLabel("LastPrgRa", tr("Radio channel at power-on"));
    SetLabel("ChScrollMode", tr("Channel list scrolling mode"));
    SetLabel("NumInBrowser", tr("&Num in Browser"));
    SetLabel("TimeOffset", tr("&Time offset"));
    SetLabel("OSD", tr("Programme information on screen"));
    SetLabel("Intro", tr("Start-up picture"));
    SetLabel("DispFreqName", tr("Front display shows"));
    SetLabel("DispDimNormal", tr("Front display brightness, on"));
    SetLabel("DispDimStdby", tr("Front display brightness, standby"));
    SetLabel("CAMStatus", tr("C&AM Active"));
    SetLabel("SCSIDetect", tr("SCSI &Detect"));
    SetLabel("SCSI_ID", tr("SCSI ID of the receiver"));
    SetLabel("ParenCtr", tr("Parental lock code (4 hex digits)"));
    currentFile_->setText(QFileInfo(s_.settingsFile).fileName());
    colors_->setText(tr("Colors"));
    more_->setText(tr("More"));
    save_->setText(tr("Save settings"));
}

void SettingDVB_1Form::SaveDVB98() {
    WriteToWorkingCopy();
    s_.ws.SettingsModified = true;
    s_.ws.DVB98Settings = s_.ws.DVB98SettingsWork;
    s_.notifyStateChanged();
}

SettingDVB_2Form::SettingDVB_2Form(Session& session, QWidget* parent)
    : SettingsPage(session, FurtherSettingFields(), parent) {
    setObjectName("SettingDVB_2Form");
    for (const char* f : {"Sat", "Vcr", "Priority", "RgbOut"})
        AddRow(f, 0);
    for (const char* f : {"VoltageCtrl", "LNBPower", "LNBonoff", "LnbWarn", "Diseqaddr", "Mode",
                          "Cband", "Bit0", "khz", "Bit1"}) {
        AddRow(f, 1);
    }
    back_ = new QPushButton(this);
    back_->setObjectName("Back");
    connect(back_, &QPushButton::clicked, this, &SettingDVB_2Form::Back);
    auto* columns = new QHBoxLayout;
    for (QGroupBox* g : groups_)
        columns->addWidget(g, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(back_, 0, Qt::AlignRight);
    SetTexts();
    ShowFromWorkingCopy();
}

void SettingDVB_2Form::SetTexts() {
    setWindowTitle(tr("QEL - More DVB98 settings"));
    groups_[0]->setTitle(tr(" Scart sockets "));
    groups_[1]->setTitle(tr(" LNB control "));
    SetLabel("Sat", tr("Satellite receiver switching"));
    SetLabel("Vcr", tr("Video recorder switching"));
    SetLabel("Priority", tr("Priority"));
    SetLabel("RgbOut", tr("RGB output"));
    SetLabel("VoltageCtrl", tr("LNB voltage control"));
    SetLabel("LNBPower", tr("LNB voltage boost"));
    SetLabel("LNBonoff", tr("LNB supply on"));
    SetLabel("LnbWarn", tr("Warn of an LNB short circuit"));
    SetLabel("Diseqaddr", tr("DiSEqC address (2 hex digits)"));
    SetLabel("Mode", tr("LNB settings apply"));
    SetLabel("Cband", tr("C band LNB"));
    SetLabel("Bit0", tr("Control bit 0"));
    SetLabel("khz", tr("22 kHz tone"));
    SetLabel("Bit1", tr("Control bit 1"));
    back_->setText(tr("Back"));
}

void SettingDVB_2Form::Back() {
    WriteToWorkingCopy();
    emit backRequested();
}

}  // namespace qel
