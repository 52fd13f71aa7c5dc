#include "ui/channel_data_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/texts.h"
#include "bytes/conversions.h"
#include "ui/key_filter.h"

namespace qel {

namespace {

// A list whose entries carry the values they stand for (by default their positions).
QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items,
                    const QList<int>& values = {}) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < items.size(); ++i)
        box->addItem(items[i], values.isEmpty() ? i : values[i]);
    box->setProperty("entries", static_cast<int>(items.size()));
    return box;
}

// Shows a value; one that no entry names gets an extra entry "(n)", a negative one none.
void showValue(QComboBox* box, int value) {
    const int entries = box->property("entries").toInt();
    while (box->count() > entries)
        box->removeItem(box->count() - 1);
    if (value < 0) {
        box->setCurrentIndex(-1);
        return;
    }
    int index = box->findData(value);
    if (index < 0) {
        box->addItem(QStringLiteral("(%1)").arg(value), value);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

// The value a list shows; `unset` when no entry is chosen.
int valueOf(const QComboBox* box, int unset) {
    return box->currentIndex() < 0 ? unset : box->currentData().toInt();
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength, int chars,
                    KeyFilter::Kind kind = KeyFilter::Kind::SelectOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(chars, '0')) + 16);
    KeyFilter::install(edit, kind);
    return edit;
}

QString qtText(std::string_view s) {
    return Texts::fromLatin1(s);
}
std::string latin1Text(const QString& s) {
    return Texts::toLatin1(s);
}

constexpr const char* kPairNames[kPairs][3] = {
    {"vpid", "Video &Pid", ""}, {"apid", "Audio &Pid", ""}, {"ppid", "Pcr &Pid", ""},
    {"netid", "Net &ID", ""},   {"tsid", "TS &ID", ""},     {"serid", "Serv.&ID", ""},
    {"trid", "Tr &ID", ""},     {"pmtpid", "Pmt &Pid", ""}, {"pmcpid", "Pmc &Pid", ""},
    {"txtpid", "Txt &Pid", ""},
};

}  // namespace

ChannelDataWindow::ChannelDataWindow(Session& session, const ListController& list,
                                     EditingController& editing, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      editing_(editing),
      list_(session.workspace().shownList()),
      row_(list.selectedRow()),
      fileType_(session.workspace().fileType()) {
    setObjectName("DataForm");
    const ChannelList& channels = session_.workspace().shown();
    original_ = row_ >= 1 && row_ <= static_cast<int>(channels.size())
                    ? channels[static_cast<std::size_t>(row_ - 1)]
                    : emptyChannel();
    build();
    setTexts();
    showFields(dataFieldsOf(original_, fileType_));
    enableForFileType();
}

void ChannelDataWindow::build() {
    createControls();
    connectControls();
    QLayout* tuning = layOutTuning();
    QLayout* pairs = layOutPairs();
    QLayout* flags = layOutFlags();
    QWidget* antenna = buildAntennaInfo();

    save_ = new QPushButton(this);
    save_->setObjectName("Save");
    save_->setDefault(true);
    connect(save_, &QPushButton::clicked, this, &ChannelDataWindow::save);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tuning);
    layout->addLayout(pairs);
    layout->addLayout(flags);
    layout->addWidget(antenna);
    layout->addWidget(save_, 0, Qt::AlignRight);
}

void ChannelDataWindow::createControls() {
    name_ = lineEdit(this, "ChName", 20, 20);
    freq1_ = lineEdit(this, "freq1", 6, 6, KeyFilter::Kind::Decimal);
    freq2_ = lineEdit(this, "freq2", 2, 2, KeyFilter::Kind::Decimal);
    pol_ = comboBox(this, "pol", {"Hor", "Ver"});
    srate1_ = lineEdit(this, "Srate1", 2, 2, KeyFilter::Kind::Decimal);
    srate2_ = lineEdit(this, "Srate2", 3, 3, KeyFilter::Kind::Decimal);
    fec_ = comboBox(this, "Fec", {"0", "1/2", "2/3", "3/4", "5/6", "7/8"});
    sat_ = lineEdit(this, "Sat", 3, 3, KeyFilter::Kind::Decimal);
    lohi_ = comboBox(this, "lohi", {"Low", "High"});
    for (std::size_t i = 0; i < kPairs; ++i) {
        const QString base = QString::fromLatin1(kPairNames[i][0]);
        hex_[i] = lineEdit(this, "", 4, 4, KeyFilter::Kind::Hex);
        hex_[i]->setObjectName(base + "hex");
        dec_[i] = lineEdit(this, "", 5, 5, KeyFilter::Kind::Decimal);
        dec_[i]->setObjectName(base + "dec");
        hex_[i]->installEventFilter(this);
        dec_[i]->installEventFilter(this);
    }
    freq1_->installEventFilter(this);
    acbw_ = lineEdit(this, "acbw", 2, 2, KeyFilter::Kind::Hex);
    ant_ =
        comboBox(this, "Ant", {"1", "2", "3", "4", "5", "6", "7", "8"}, {1, 2, 3, 4, 5, 6, 7, 8});
    spectr_ = comboBox(this, "Spectr", {"Auto", "OFF", "ON"});
    diseqc_ = comboBox(this, "DiseqcDVB", {"LNB Port 1", "LNB Port 2", "LNB Port 3", "LNB Port 4"});
    audio_ = comboBox(this, "Audio", {"Normal", "Inverse", "Left", "Right"});
    volt_ = comboBox(this, "Volt", {"OFF", "ON"});
    video_ = comboBox(this, "Video", {"PAL", "NTSC"}, {0, 3});
    QStringList types;
    for (std::size_t i = 0; i < kServTypes; ++i)
        types << QString::fromLatin1(servTypeName(i));
    servType_ = comboBox(this, "ServType", types);
    parental_ = new QCheckBox(this);
    parental_->setObjectName("Parental");
    autoPid_ = comboBox(this, "AutoPid", {"OFF", "ON"});
    autoPmt_ = comboBox(this, "AutoPmt", {"OFF", "ON"});
}

void ChannelDataWindow::connectControls() {
    // AutoPid cannot be off while AutoPmt is on.
    connect(autoPmt_, &QComboBox::activated, this, [this](int index) {
        if (index == 1) autoPid_->setCurrentIndex(1);
    });
    connect(autoPid_, &QComboBox::activated, this, [this] {
        if (autoPmt_->currentIndex() == 1) {
            autoPid_->setCurrentIndex(1);
            autoPid_->setFocus();
        }
    });
    connect(ant_, &QComboBox::currentIndexChanged, this,
            [this] { showAntenna(valueOf(ant_, 0) - 1); });
}

QLabel* ChannelDataWindow::label(const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromLatin1(text), this);  // the same in both languages
    l->setBuddy(buddy);
    return l;
}

QLayout* ChannelDataWindow::layOutTuning() {
    auto* tuning = new QGridLayout;
    tuning->addWidget(label("&Name", name_), 0, 0);
    tuning->addWidget(name_, 0, 1, 1, 3);
    auto* freq = new QHBoxLayout;
    freq->addWidget(freq1_);
    freq->addWidget(new QLabel(QStringLiteral("."), this));
    freq->addWidget(freq2_);
    freq->addStretch(1);
    tuning->addWidget(label("&Freq.", freq1_), 1, 0);
    tuning->addLayout(freq, 1, 1);
    tuning->addWidget(label("Po&l.", pol_), 1, 2);
    tuning->addWidget(pol_, 1, 3);
    auto* srate = new QHBoxLayout;
    srate->addWidget(srate1_);
    srate->addWidget(new QLabel(QStringLiteral("."), this));
    srate->addWidget(srate2_);
    srate->addStretch(1);
    tuning->addWidget(label("S.&Rate", srate1_), 2, 0);
    tuning->addLayout(srate, 2, 1);
    tuning->addWidget(label("F&ec", fec_), 2, 2);
    tuning->addWidget(fec_, 2, 3);
    tuning->addWidget(label("&Sat", sat_), 3, 0);
    tuning->addWidget(sat_, 3, 1);
    tuning->addWidget(lohi_, 3, 3);
    return tuning;
}

QLayout* ChannelDataWindow::layOutPairs() {
    auto* pairs = new QGridLayout;
    for (std::size_t i = 0; i < kPairs; ++i) {
        const int r = static_cast<int>(i % 5);
        const int c = static_cast<int>(i / 5) * 3;
        pairs->addWidget(label(kPairNames[i][1], hex_[i]), r, c);
        pairs->addWidget(hex_[i], r, c + 1);
        pairs->addWidget(dec_[i], r, c + 2);
    }
    return pairs;
}

QLayout* ChannelDataWindow::layOutFlags() {
    auto* flags = new QGridLayout;
    const std::pair<const char*, QWidget*> flagRows[] = {
        {"Acq. &BW", acbw_},
        {"A&nt.", ant_},
        {"&Spect. Inv.", spectr_},
        {"DiSE&qC", diseqc_},
        {"&Audio", audio_},
        {"&12V", volt_},
        {"V&ideo", video_},
        {"Ser&v. type", servType_},
        {"Pare&ntal ctrl", parental_},
        {"Auto. &Pid", autoPid_},
        {"Auto. P&mt", autoPmt_},
    };
    int r = 0;
    for (const auto& [text, widget] : flagRows) {
        flags->addWidget(label(text, widget), r / 2, (r % 2) * 2);
        flags->addWidget(widget, r / 2, (r % 2) * 2 + 1);
        ++r;
    }
    return flags;
}

QWidget* ChannelDataWindow::buildAntennaInfo() {
    auto* antenna = new QGroupBox(this);
    antenna->setObjectName("AntennaInfo");
    auto* antGrid = new QGridLayout(antenna);
    const char* antNames[] = {"SatName", "Lnblow", "Lnbhigh", "Switch", "Lof", "Diseqc"};
    const char* antCaptions[] = {"Satellite",     "LNB low", "LNB high",
                                 "0/12 v switch", "LOF",     "DiSEqC"};
    for (std::size_t i = 0; i < antInfo_.size(); ++i) {
        antInfo_[i] = new QLineEdit(antenna);
        antInfo_[i]->setObjectName(QString::fromLatin1(antNames[i]));
        antInfo_[i]->setReadOnly(true);
        antInfo_[i]->setFocusPolicy(Qt::NoFocus);
        const int row = static_cast<int>(i % 3);
        const int col = static_cast<int>(i / 3) * 2;
        antGrid->addWidget(new QLabel(QString::fromLatin1(antCaptions[i]), antenna), row, col);
        antGrid->addWidget(antInfo_[i], row, col + 1);
    }
    return antenna;
}

void ChannelDataWindow::setTexts() {
    const QString name = qtText(trimBlanks(original_.ChName.view())).trimmed();
    setWindowTitle(name.isEmpty() ? QStringLiteral("QEL") : QStringLiteral("QEL - ") + name);
    name_->setToolTip(tr("Only text between brackets will be visible"));
    save_->setText(tr("Save Channel &data"));
}

void ChannelDataWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

void ChannelDataWindow::enableForFileType() {
    const bool fta = fileType_ == FileKind::BIN;
    for (QWidget* w : std::initializer_list<QWidget*>{
             acbw_, hex_[static_cast<std::size_t>(Pair::PmtPid)],
             dec_[static_cast<std::size_t>(Pair::PmtPid)],
             hex_[static_cast<std::size_t>(Pair::PmcPid)],
             dec_[static_cast<std::size_t>(Pair::PmcPid)],
             hex_[static_cast<std::size_t>(Pair::TxtPid)],
             dec_[static_cast<std::size_t>(Pair::TxtPid)], audio_, video_, volt_, spectr_, autoPid_,
             autoPmt_, diseqc_, servType_, parental_}) {
        w->setEnabled(!fta);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{lohi_, ant_, sat_,
                                                      hex_[static_cast<std::size_t>(Pair::TrId)],
                                                      dec_[static_cast<std::size_t>(Pair::TrId)]}) {
        w->setEnabled(fta);
    }
    findChild<QGroupBox*>("AntennaInfo")->setVisible(fta);
    if (!fta) ant_->setCurrentIndex(-1);
}

void ChannelDataWindow::showAntenna(int index) {
    if (index < 0 || index > 7) {
        for (QLineEdit* e : antInfo_)
            e->clear();
        return;
    }
    const AntennaView v =
        antennaViewOf(session_.workspace().imageTables().antennas[static_cast<std::size_t>(index)],
                      latin1Text(antInfo_[5]->text()));
    const std::string texts[] = {v.satName, v.lnbLow, v.lnbHigh, v.switchText, v.lof, v.diseqc};
    for (std::size_t i = 0; i < antInfo_.size(); ++i)
        antInfo_[i]->setText(qtText(texts[i]));
}

void ChannelDataWindow::showFields(const DataFields& f) {
    name_->setText(qtText(f.name));
    freq1_->setText(qtText(f.freq1));
    freq2_->setText(qtText(f.freq2));
    shown_ = f;
    showValue(pol_, f.pol);
    srate1_->setText(qtText(f.srate1));
    srate2_->setText(qtText(f.srate2));
    showValue(fec_, f.fec);
    sat_->setText(qtText(f.sat));
    showValue(lohi_, f.lohi);
    for (std::size_t i = 0; i < kPairs; ++i) {
        hex_[i]->setText(qtText(f.hex[i]));
        dec_[i]->setText(qtText(decimalOfHex(f.hex[i])));
    }
    acbw_->setText(qtText(f.acbw));
    showValue(ant_, f.ant);
    showValue(spectr_, f.spectr);
    showValue(diseqc_, f.diseqc);
    showValue(audio_, f.audio);
    showValue(volt_, f.volt);
    showValue(video_, f.video);
    servType_->setCurrentIndex(f.servType);
    parental_->setChecked(f.parental);
    autoPid_->setCurrentIndex(f.autoPid);
    autoPmt_->setCurrentIndex(f.autoPmt);
    showAntenna(f.ant - 1);
}

DataFields ChannelDataWindow::fields() const {
    DataFields f;
    f.name = latin1Text(name_->text());
    f.freq1 = latin1Text(freq1_->text());
    f.freq2 = latin1Text(freq2_->text());
    f.pol = valueOf(pol_, shown_.pol);
    f.srate1 = latin1Text(srate1_->text());
    f.srate2 = latin1Text(srate2_->text());
    f.fec = valueOf(fec_, shown_.fec);
    f.sat = latin1Text(sat_->text());
    f.lohi = valueOf(lohi_, shown_.lohi);
    for (std::size_t i = 0; i < kPairs; ++i)
        f.hex[i] = latin1Text(hex_[i]->text());
    f.acbw = latin1Text(acbw_->text());
    f.ant = valueOf(ant_, shown_.ant);
    f.spectr = valueOf(spectr_, shown_.spectr);
    f.diseqc = valueOf(diseqc_, shown_.diseqc);
    f.audio = valueOf(audio_, shown_.audio);
    f.volt = valueOf(volt_, shown_.volt);
    f.video = valueOf(video_, shown_.video);
    f.servType = servType_->currentIndex();
    f.parental = parental_->isChecked();
    f.autoPid = std::max(autoPid_->currentIndex(), 0);
    f.autoPmt = std::max(autoPmt_->currentIndex(), 0);
    return f;
}

void ChannelDataWindow::leaveBox(QLineEdit* box) {
    for (std::size_t i = 0; i < kPairs; ++i) {
        if (box == hex_[i]) {
            hex_[i]->setText(qtText(leaveHexBox(latin1Text(hex_[i]->text()))));
            dec_[i]->setText(qtText(decimalOfHex(latin1Text(hex_[i]->text()))));
        } else if (box == dec_[i]) {
            dec_[i]->setText(qtText(leaveDecimalBox(latin1Text(dec_[i]->text()))));
            hex_[i]->setText(qtText(hexOfDecimal(latin1Text(dec_[i]->text()))));
        }
    }
    if (box == freq1_) showValue(lohi_, bandAfterFrequency(latin1Text(freq1_->text())));
}

bool ChannelDataWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) leaveBox(qobject_cast<QLineEdit*>(watched));
    return QWidget::eventFilter(watched, event);
}

bool ChannelDataWindow::stillEditing() const {
    const ChannelList& channels = session_.workspace().list(list_);
    return row_ >= 1 && row_ <= static_cast<int>(channels.size()) &&
           channels[static_cast<std::size_t>(row_ - 1)] == original_;
}

void ChannelDataWindow::save() {
    // A box takes its partner's value when it is left: the one with the caret is left now.
    leaveBox(qobject_cast<QLineEdit*>(focusWidget()));
    const ChannelRec saved = channelOfFields(fields(), original_, fileType_);
    if (!editing_.storeChannel(list_, row_, original_, saved)) {
        close();
        return;
    }
    original_ = saved;
    shown_ = dataFieldsOf(saved, fileType_);
    setTexts();
}

DataFields ChannelDataWindow::typedFields() const {
    DataFields f = fields();
    const QWidget* caret = focusWidget();
    for (std::size_t i = 0; i < kPairs; ++i) {
        if (caret == hex_[i]) f.hex[i] = leaveHexBox(latin1Text(hex_[i]->text()));
        if (caret == dec_[i]) f.hex[i] = hexOfDecimal(leaveDecimalBox(latin1Text(dec_[i]->text())));
    }
    return f;
}

bool ChannelDataWindow::hasUnsavedEdits() const {
    return stillEditing() && channelOfFields(typedFields(), original_, fileType_) != original_;
}

void ChannelDataWindow::keyPressEvent(QKeyEvent* event) {
    // "Save Channel data" is the window's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        save();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace qel
