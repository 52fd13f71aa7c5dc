#include "ui/fta_settings_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/texts.h"
#include "bytes/conversions.h"
#include "ui/key_filter.h"

namespace qel {

namespace {

QButtonGroup* radios(QGroupBox* box, const char* name, const QStringList& captions, bool vertical) {
    auto* group = new QButtonGroup(box);
    group->setObjectName(QString::fromLatin1(name));
    QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box))
                                  : static_cast<QBoxLayout*>(new QHBoxLayout(box));
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], box);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    return group;
}

// Checks the button of `id`; a value no button names leaves every button unchecked.
void checkButton(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

// The value a group shows; `unset` when no button is checked.
int checkedValue(const QButtonGroup* group, int unset) {
    return group->checkedId() < 0 ? unset : group->checkedId();
}

}  // namespace

FtaSettingsWindow::FtaSettingsWindow(Session& session, SettingsController& settings,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), settings_(settings) {
    setObjectName("SettingsFTAForm");
    for (std::size_t i = 0; i < work_.size(); ++i)
        work_[i] = session_.workspace().imageTables().antennas[i];
    buildAntennaBox();
    buildChoiceBoxes();
    save_ = new QPushButton(this);
    save_->setObjectName("Asave");
    connect(antNo_, &QComboBox::currentIndexChanged, this, [this](int n) { chooseAntenna(n); });
    connect(save_, &QPushButton::clicked, this, &FtaSettingsWindow::save);
    layOut();
    setTexts();
    showStoredSettings();
}

void FtaSettingsWindow::buildAntennaBox() {
    antennaBox_ = new QGroupBox(this);
    antNo_ = new QComboBox(antennaBox_);
    antNo_->setObjectName("Ant_No");
    for (int i = 1; i <= 8; ++i)
        antNo_->addItem(QString::number(i));
    name_ = new QLineEdit(antennaBox_);
    name_->setObjectName("Ant_Name");
    name_->setMaxLength(8);
    lnbLow_ = new QLineEdit(antennaBox_);
    lnbLow_->setObjectName("Lnb_low");
    lnbHigh_ = new QLineEdit(antennaBox_);
    lnbHigh_->setObjectName("Lnb_high");
    KeyFilter::install(lnbLow_, KeyFilter::Kind::Decimal);
    KeyFilter::install(lnbHigh_, KeyFilter::Kind::Decimal);
    numberLabel_ = new QLabel(antennaBox_);
    nameLabel_ = new QLabel(antennaBox_);
    lowLabel_ = new QLabel(antennaBox_);
    highLabel_ = new QLabel(antennaBox_);
    auto* grid = new QGridLayout(antennaBox_);
    grid->addWidget(numberLabel_, 0, 0);
    grid->addWidget(antNo_, 0, 1);
    grid->addWidget(nameLabel_, 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(lowLabel_, 2, 0);
    grid->addWidget(lnbLow_, 2, 1);
    grid->addWidget(highLabel_, 3, 0);
    grid->addWidget(lnbHigh_, 3, 1);
}

void FtaSettingsWindow::buildChoiceBoxes() {
    diseqcBox_ = new QGroupBox(this);
    diseqc_ =
        radios(diseqcBox_, "aDiseqc",
               {"None", "MinA", "MinB", "DiSEqC 1", "DiSEqC 2", "DiSEqC 3", "DiSEqC 4"}, true);
    switchBox_ = new QGroupBox(this);
    switch_ = radios(switchBox_, "Aswitch", {"Inactive", "0 V", "12 V"}, true);
    lofBox_ = new QGroupBox(this);
    lof_ = radios(lofBox_, "Alof", {"Freq.", "Diseqc"}, true);
    screenBox_ = new QGroupBox(this);
    screen_ = radios(screenBox_, "Screen", {"4:3", "16:9"}, false);
    screen_->button(0)->setObjectName("Is4_3");
    screen_->button(1)->setObjectName("Is16_9");
    pictureBox_ = new QGroupBox(this);
    picture_ = radios(pictureBox_, "Picture", {QString(), QString()}, false);
    picture_->button(0)->setObjectName("full");
    picture_->button(1)->setObjectName("letter");
    secretBox_ = new QGroupBox(this);
    secret_ = new QLineEdit(secretBox_);
    secret_->setObjectName("SecretCode");
    secret_->setMaxLength(4);
    KeyFilter::install(secret_, KeyFilter::Kind::Decimal);
    secret_->installEventFilter(this);
    (new QVBoxLayout(secretBox_))->addWidget(secret_);
}

void FtaSettingsWindow::layOut() {
    auto* left = new QVBoxLayout;
    left->addWidget(antennaBox_);
    left->addWidget(screenBox_);
    left->addWidget(pictureBox_);
    left->addWidget(secretBox_);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(switchBox_);
    middle->addWidget(lofBox_);
    middle->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addWidget(diseqcBox_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(save_, 0, Qt::AlignRight);
}

void FtaSettingsWindow::showStoredSettings() {
    const FtaImageTables& tables = session_.workspace().imageTables();
    const ScreenFormat format = showScreenFormat(tables.screenFormat);
    checkButton(screen_, format.is4_3 ? 0 : 1);
    checkButton(picture_, format.full ? 0 : 1);
    secret_->setText(Texts::fromLatin1(showSecretCode(tables.settingsRecord)));
    showAntenna(0);
}

void FtaSettingsWindow::setTexts() {
    setWindowTitle(tr("QEL - FTA settings"));
    antennaBox_->setTitle(tr(" Antenna "));
    numberLabel_->setText(tr("Number"));
    nameLabel_->setText(tr("Name"));
    lowLabel_->setText(tr("LNB low (MHz)"));
    highLabel_->setText(tr("LNB high (MHz)"));
    diseqcBox_->setTitle(QStringLiteral(" DiSEqC "));
    switchBox_->setTitle(tr(" 0/12 V switch "));
    lofBox_->setTitle(tr(" LOF "));
    screenBox_->setTitle(tr(" Screen format "));
    pictureBox_->setTitle(tr(" Picture "));
    picture_->button(0)->setText(tr("Full"));
    picture_->button(1)->setText(tr("Letterbox"));
    switch_->button(0)->setText(tr("Inactive"));
    diseqc_->button(0)->setText(tr("None"));
    secretBox_->setTitle(tr(" Secret code "));
    save_->setText(tr("Save"));
}

void FtaSettingsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

AntennaControls FtaSettingsWindow::controls() const {
    AntennaControls c;
    c.name = Texts::toLatin1(name_->text());
    c.lnbLow = Texts::toLatin1(lnbLow_->text());
    c.lnbHigh = Texts::toLatin1(lnbHigh_->text());
    // A value no button names stays as the entry holds it.
    const AntennaControls shown = antennaControlsOf(work_[static_cast<std::size_t>(shown_)]);
    c.diseqc = checkedValue(diseqc_, shown.diseqc);
    c.switchOutput = checkedValue(switch_, shown.switchOutput);
    c.lofSelection = checkedValue(lof_, shown.lofSelection);
    return c;
}

void FtaSettingsWindow::setControls(const AntennaControls& c) {
    name_->setText(Texts::fromLatin1(c.name));
    lnbLow_->setText(Texts::fromLatin1(c.lnbLow));
    lnbHigh_->setText(Texts::fromLatin1(c.lnbHigh));
    checkButton(diseqc_, c.diseqc);
    checkButton(switch_, c.switchOutput);
    checkButton(lof_, c.lofSelection);
}

void FtaSettingsWindow::showAntenna(int n) {
    if (n < 0 || n >= static_cast<int>(work_.size())) return;
    shown_ = n;
    setControls(antennaControlsOf(work_[static_cast<std::size_t>(n)]));
}

void FtaSettingsWindow::storeAntenna(int n) {
    if (n < 0 || n >= static_cast<int>(work_.size())) return;
    std::string& entry = work_[static_cast<std::size_t>(n)];
    // An entry left as it was shown keeps its bytes.
    if (controls() == antennaControlsOf(entry)) return;
    entry = rebuildAntennaEntry(entry, controls());
}

void FtaSettingsWindow::chooseAntenna(int n) {
    storeAntenna(shown_);
    showAntenna(n);
}

bool FtaSettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == secret_ && event->type() == QEvent::FocusOut) {
        secret_->setText(Texts::fromLatin1(pad4(Texts::toLatin1(secret_->text()))));
    }
    return QWidget::eventFilter(watched, event);
}

bool FtaSettingsWindow::hasUnsavedEdits() const {
    if (session_.workspace().fileType() != FileKind::BIN) return false;
    const FtaImageTables& tables = session_.workspace().imageTables();
    std::array<std::string, 8> entries = work_;
    std::string& shown = entries[static_cast<std::size_t>(shown_)];
    if (controls() != antennaControlsOf(shown)) shown = rebuildAntennaEntry(shown, controls());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] != tables.antennas[i]) return true;
    }
    if (pad4(Texts::toLatin1(secret_->text())) != showSecretCode(tables.settingsRecord)) {
        return true;
    }
    const ScreenFormat format = showScreenFormat(tables.screenFormat);
    return (screen_->checkedId() == 0) != format.is4_3 ||
           (picture_->checkedId() == 0) != format.full;
}

void FtaSettingsWindow::save() {
    storeAntenna(shown_);
    secret_->setText(Texts::fromLatin1(pad4(Texts::toLatin1(secret_->text()))));
    const ScreenFormat chosen{screen_->checkedId() == 0, picture_->checkedId() == 0};
    if (!settings_.storeFtaSettings(work_, Texts::toLatin1(secret_->text()), chosen)) close();
}

}  // namespace qel
