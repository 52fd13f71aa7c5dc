#include "ui/dvb98_settings_windows.h"

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

#include "app/texts.h"
#include "ui/key_filter.h"

namespace qel {

SettingsPage::SettingsPage(Session& session, SettingsController& settings,
                           std::span<const SettingField> fields, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), settings_(settings), fields_(fields) {
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
                KeyFilter::install(edit, hex ? KeyFilter::Kind::Hex : KeyFilter::Kind::Decimal);
            edit->setMaximumWidth(
                edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
            w = edit;
        }
        w->setObjectName(QString::fromLatin1(f.name));
        controls_.insert(QString::fromLatin1(f.name), w);
    }
}

void SettingsPage::addRow(const char* field, int group) {
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

void SettingsPage::setLabel(const char* field, const QString& text) {
    if (QLabel* l = labels_.value(QLatin1String(field))) l->setText(text);
}

void SettingsPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

SettingValue SettingsPage::value(const SettingField& f) const {
    SettingValue v;
    QWidget* w = controls_.value(QLatin1String(f.name));
    if (auto* box = qobject_cast<QComboBox*>(w)) v.index = box->currentIndex();
    if (auto* check = qobject_cast<QCheckBox*>(w)) v.checked = check->isChecked();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) v.text = Texts::toLatin1(edit->text());
    return v;
}

void SettingsPage::setValue(const SettingField& f, const SettingValue& v) {
    QWidget* w = controls_.value(QLatin1String(f.name));
    if (auto* box = qobject_cast<QComboBox*>(w)) box->setCurrentIndex(v.index);
    if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(v.checked);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(Texts::fromLatin1(v.text));
}

void SettingsPage::showWorkingCopy() {
    for (const SettingField& f : fields_)
        setValue(f, settings_.value(f));
}

bool SettingsPage::hasUnsavedEdits() const {
    return settings_.changesImage(fields_, [this](const SettingField& f) { return value(f); });
}

void SettingsPage::writeWorkingCopy() {
    settings_.writeValues(fields_, [this](const SettingField& f) { return value(f); });
}

Dvb98SettingsWindow::Dvb98SettingsWindow(Session& session, SettingsController& settings,
                                         QWidget* parent)
    : SettingsPage(session, settings, generalSettingFields(), parent) {
    setObjectName("SettingDVB_1Form");
    for (const char* f : {"LNB1Lof1", "LNB1Lof2", "SwitchFreq1", "LNB2Lof1", "LNB2Lof2",
                          "SwitchFreq2", "LNB3Lof1", "LNB3Lof2", "SwitchFreq3", "LNBLofC", "Ctrl",
                          "useVolt1", "useVolt2", "useVolt3", "useVolt4"}) {
        addRow(f, 0);
    }
    for (const char* f : {"Baudrate", "LastPrgTV", "LastPrgRa", "ChScrollMode", "NumInBrowser",
                          "TimeOffset", "OSD", "Intro", "DispFreqName", "DispDimNormal",
                          "DispDimStdby", "CAMStatus", "SCSIDetect", "SCSI_ID", "ParenCtr"}) {
        addRow(f, 1);
    }
    currentFile_ = new QLabel(this);
    currentFile_->setObjectName("CurrentSettingsFile");
    colors_ = new QPushButton(this);
    colors_->setObjectName("Colors");
    more_ = new QPushButton(this);
    more_->setObjectName("MoreSetting");
    save_ = new QPushButton(this);
    save_->setObjectName("SaveDVB98");
    connect(colors_, &QPushButton::clicked, this, &Dvb98SettingsWindow::colorsRequested);
    connect(more_, &QPushButton::clicked, this, &Dvb98SettingsWindow::moreRequested);
    connect(save_, &QPushButton::clicked, this, &Dvb98SettingsWindow::storeSettings);

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
    setTexts();
    showWorkingCopy();
}

void Dvb98SettingsWindow::setTexts() {
    setWindowTitle(tr("QEL - DVB98 settings"));
    groups_[0]->setTitle(tr(" LNB and switching "));
    groups_[1]->setTitle(tr(" Receiver and display "));
    setLabel("LNB1Lof1", tr("LNB 1, low band oscillator (MHz)"));
    setLabel("LNB1Lof2", tr("LNB 1, high band oscillator (MHz)"));
    setLabel("SwitchFreq1", tr("LNB 1, band switch frequency (MHz)"));
    setLabel("LNB2Lof1", tr("LNB 2, low band oscillator (MHz)"));
    setLabel("LNB2Lof2", tr("LNB 2, high band oscillator (MHz)"));
    setLabel("LNB3Lof1", tr("LNB 3, low band oscillator (MHz)"));
    setLabel("LNB3Lof2", tr("LNB 3, high band oscillator (MHz)"));
    setLabel("SwitchFreq2", tr("LNB 2, band switch frequency (MHz)"));
    setLabel("SwitchFreq3", tr("LNB 3, band switch frequency (MHz)"));
    setLabel("LNBLofC", tr("C band LNB oscillator (MHz)"));
    setLabel("Ctrl", tr("LNBs switched by"));
    setLabel("useVolt1", tr("LNB 1 voltage follows"));
    setLabel("useVolt2", tr("LNB 2 voltage follows"));
    setLabel("useVolt3", tr("LNB 3 voltage follows"));
    setLabel("useVolt4", tr("LNB 4 voltage follows"));
    setLabel("Baudrate", tr("Serial port speed (baud)"));
    setLabel("LastPrgTV", tr("TV channel at power-on"));
    setLabel("LastPrgRa", tr("Radio channel at power-on"));
    setLabel("ChScrollMode", tr("Channel list scrolling mode"));
    setLabel("NumInBrowser", tr("&Num in Browser"));
    setLabel("TimeOffset", tr("&Time offset"));
    setLabel("OSD", tr("Programme information on screen"));
    setLabel("Intro", tr("Start-up picture"));
    setLabel("DispFreqName", tr("Front display shows"));
    setLabel("DispDimNormal", tr("Front display brightness, on"));
    setLabel("DispDimStdby", tr("Front display brightness, standby"));
    setLabel("CAMStatus", tr("C&AM Active"));
    setLabel("SCSIDetect", tr("SCSI &Detect"));
    setLabel("SCSI_ID", tr("SCSI ID of the receiver"));
    setLabel("ParenCtr", tr("Parental lock code (4 hex digits)"));
    currentFile_->setText(QFileInfo(session_.settingsFile()).fileName());
    colors_->setText(tr("Colors"));
    more_->setText(tr("More"));
    save_->setText(tr("Save settings"));
}

void Dvb98SettingsWindow::storeSettings() {
    writeWorkingCopy();
    // Settings that have gone take nothing: the window closes.
    if (!settings_.storeSettings()) close();
}

Dvb98MoreSettingsWindow::Dvb98MoreSettingsWindow(Session& session, SettingsController& settings,
                                                 QWidget* parent)
    : SettingsPage(session, settings, furtherSettingFields(), parent) {
    setObjectName("SettingDVB_2Form");
    for (const char* f : {"Sat", "Vcr", "Priority", "RgbOut"})
        addRow(f, 0);
    for (const char* f : {"VoltageCtrl", "LNBPower", "LNBonoff", "LnbWarn", "Diseqaddr", "Mode",
                          "Cband", "Bit0", "khz", "Bit1"}) {
        addRow(f, 1);
    }
    back_ = new QPushButton(this);
    back_->setObjectName("Back");
    connect(back_, &QPushButton::clicked, this, &Dvb98MoreSettingsWindow::back);
    auto* columns = new QHBoxLayout;
    for (QGroupBox* g : groups_)
        columns->addWidget(g, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(back_, 0, Qt::AlignRight);
    setTexts();
    showWorkingCopy();
}

void Dvb98MoreSettingsWindow::setTexts() {
    setWindowTitle(tr("QEL - More DVB98 settings"));
    groups_[0]->setTitle(tr(" Scart sockets "));
    groups_[1]->setTitle(tr(" LNB control "));
    setLabel("Sat", tr("Satellite receiver switching"));
    setLabel("Vcr", tr("Video recorder switching"));
    setLabel("Priority", tr("Priority"));
    setLabel("RgbOut", tr("RGB output"));
    setLabel("VoltageCtrl", tr("LNB voltage control"));
    setLabel("LNBPower", tr("LNB voltage boost"));
    setLabel("LNBonoff", tr("LNB supply on"));
    setLabel("LnbWarn", tr("Warn of an LNB short circuit"));
    setLabel("Diseqaddr", tr("DiSEqC address (2 hex digits)"));
    setLabel("Mode", tr("LNB settings apply"));
    setLabel("Cband", tr("C band LNB"));
    setLabel("Bit0", tr("Control bit 0"));
    setLabel("khz", tr("22 kHz tone"));
    setLabel("Bit1", tr("Control bit 1"));
    back_->setText(tr("Back"));
}

void Dvb98MoreSettingsWindow::back() {
    writeWorkingCopy();
    emit backRequested();
}

}  // namespace qel
