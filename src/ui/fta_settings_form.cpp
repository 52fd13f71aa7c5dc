#include "ui/fta_settings_form.h"

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

#include "model/conversions.h"
#include "ui/key_filters.h"
#include "ui/texts.h"

namespace qel {

namespace {

QButtonGroup* Radios(QGroupBox* box, const char* name, const QStringList& captions, bool vertical) {
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

void Check(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) b->setChecked(true);
}

}  // namespace

SettingsFTAForm::SettingsFTAForm(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(session) {
    setObjectName("SettingsFTAForm");
    for (std::size_t i = 0; i < work_.size(); ++i)
        work_[i] = s_.ws.ImageTables.Antennas[i];  // MakeCopy

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
    KeyFilter::Install(lnbLow_, KeyFilter::Kind::Decimal);
    KeyFilter::Install(lnbHigh_, KeyFilter::Kind::Decimal);
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

    diseqcBox_ = new QGroupBox(this);
    diseqc_ =
        Radios(diseqcBox_, "aDiseqc",
               {"None", "MinA", "MinB", "DiSEqC 1", "DiSEqC 2", "DiSEqC 3", "DiSEqC 4"}, true);
    switchBox_ = new QGroupBox(this);
    switch_ = Radios(switchBox_, "Aswitch", {"Inactive", "0 V", "12 V"}, true);
    lofBox_ = new QGroupBox(this);
    lof_ = Radios(lofBox_, "Alof", {"Freq.", "Diseqc"}, true);
    screenBox_ = new QGroupBox(this);
    screen_ = Radios(screenBox_, "Screen", {"4:3", "16:9"}, false);
    screen_->button(0)->setObjectName("Is4_3");
    screen_->button(1)->setObjectName("Is16_9");
    pictureBox_ = new QGroupBox(this);
    picture_ = Radios(pictureBox_, "Picture", {QString(), QString()}, false);
    picture_->button(0)->setObjectName("full");
    picture_->button(1)->setObjectName("letter");
    secretBox_ = new QGroupBox(this);
    secret_ = new QLineEdit(secretBox_);
    secret_->setObjectName("SecretCode");
    secret_->setMaxLength(4);
    KeyFilter::Install(secret_, KeyFilter::Kind::Decimal);
    secret_->installEventFilter(this);
    (new QVBoxLayout(secretBox_))->addWidget(secret_);
    save_ = new QPushButton(this);
    save_->setObjectName("Asave");

    connect(antNo_, &QComboBox::currentIndexChanged, this, [this](int n) { ChooseAntenna(n); });
    connect(save_, &QPushButton::clicked, this, &SettingsFTAForm::Asave);

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

    SetTexts();
    const ScreenFormat format = ShowScreenFormat(s_.ws.ImageTables.ScreenFormat);
    Check(screen_, format.is4_3 ? 0 : 1);
    Check(picture_, format.full ? 0 : 1);
    secret_->setText(Texts::FromLatin1(ShowSecretCode(s_.ws.ImageTables.SettingsRecord)));
    Show_Data(0);
}

void SettingsFTAForm::SetTexts() {
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
    secretBox_->setTitle(tr(" Secret code "));
    save_->setText(tr("Save"));
}

void SettingsFTAForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) SetTexts();
    QWidget::changeEvent(event);
}

AntennaControls SettingsFTAForm::Controls() const {
    AntennaControls c;
    c.name = Texts::ToLatin1(name_->text());
    c.lnbLow = Texts::ToLatin1(lnbLow_->text());
    c.lnbHigh = Texts::ToLatin1(lnbHigh_->text());
    c.diseqc = std::max(diseqc_->checkedId(), 0);
    c.aswitch = std::max(switch_->checkedId(), 0);
    c.alof = std::max(lof_->checkedId(), 0);
    return c;
}

void SettingsFTAForm::SetControls(const AntennaControls& c) {
    name_->setText(Texts::FromLatin1(c.name));
    lnbLow_->setText(Texts::FromLatin1(c.lnbLow));
    lnbHigh_->setText(Texts::FromLatin1(c.lnbHigh));
    Check(diseqc_, c.diseqc);
    Check(switch_, c.aswitch);
    Check(lof_, c.alof);
}

void SettingsFTAForm::Show_Data(int n) {
    if (n < 0 || n >= static_cast<int>(work_.size())) return;
    shown_ = n;
    SetControls(qel::Show_Data(work_[static_cast<std::size_t>(n)]));
}

void SettingsFTAForm::RebuiltConf(int n) {
    if (n < 0 || n >= static_cast<int>(work_.size())) return;
    std::string& entry = work_[static_cast<std::size_t>(n)];
    // An entry left as it was shown keeps its bytes.
    if (Controls() == qel::Show_Data(entry)) return;
    entry = qel::RebuiltConf(entry, Controls());
}

void SettingsFTAForm::ChooseAntenna(int n) {
    RebuiltConf(shown_);
    Show_Data(n);
}

bool SettingsFTAForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == secret_ && event->type() == QEvent::FocusOut) {
        secret_->setText(Texts::FromLatin1(Pad4(Texts::ToLatin1(secret_->text()))));
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsFTAForm::Asave() {
    RebuiltConf(shown_);
    FtaImageTables& t = s_.ws.ImageTables;
    for (std::size_t i = 0; i < work_.size(); ++i)
        t.Antennas[i] = work_[i];
    secret_->setText(Texts::FromLatin1(Pad4(Texts::ToLatin1(secret_->text()))));
    if (ShowSecretCode(t.SettingsRecord) != Texts::ToLatin1(secret_->text())) {
        t.SettingsRecord = StoreSecretCode(t.SettingsRecord, Texts::ToLatin1(secret_->text()));
    }
    const ScreenFormat shown = ShowScreenFormat(t.ScreenFormat);
    const ScreenFormat chosen{screen_->checkedId() == 0, picture_->checkedId() == 0};
    if (shown.is4_3 != chosen.is4_3 || shown.full != chosen.full) {
        t.ScreenFormat = StoreScreenFormat(t.ScreenFormat, chosen);
    }
    s_.ws.ChannelsModified = true;
    s_.notifyStateChanged();
}

}  // namespace qel
