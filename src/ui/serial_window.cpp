#include "ui/serial_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/texts.h"
#include "ui/picture_dialog.h"
#include "ui/restore_dialog.h"

namespace qel {

namespace {

QLabel* mark(QWidget* parent, const QString& name, const QString& symbol, const char* color) {
    auto* label = new QLabel(symbol, parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(color));
    // The window keeps its size whether a mark shows or not.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

template <class T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

// The real approver: the picture dialog over the window.
class SerialWindow::DialogApprover final : public PictureApprover {
public:
    explicit DialogApprover(SerialWindow& window) : window_(window) {}
    bool approve(const PreparedPicture& picture, const QString& path) override {
        PictureDialog dialog(picture, path, window_.prompter_, window_.chooser_, &window_);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    SerialWindow& window_;
};

// The real picker: the restore dialog over the window.
class SerialWindow::DialogPicker final : public BackupPicker {
public:
    explicit DialogPicker(SerialWindow& window) : window_(window) {}
    std::optional<BackupEntry> pick(const std::vector<BackupEntry>& backups,
                                    const QString& root) override {
        RestoreDialog dialog(backups, root, &window_);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.chosen();
    }

private:
    SerialWindow& window_;
};

SerialWindow::SerialWindow(SerialController& serial, Session& session, Prompter& prompter,
                           FileChooser& chooser, QWidget* parent)
    : QWidget(parent, Qt::Window),
      serial_(serial),
      session_(session),
      prompter_(prompter),
      chooser_(chooser),
      dialogApprover_(std::make_unique<DialogApprover>(*this)),
      approver_(dialogApprover_.get()),
      dialogPicker_(std::make_unique<DialogPicker>(*this)),
      picker_(dialogPicker_.get()) {
    setObjectName("SerialForm");
    createStatusLines();
    createConnection();
    createTransfers();
    createFirmware();
    createProgress();
    layOutTransfers();
    layOutWindow();
    connectActions();
    connectController();

    setTexts();
    port_->setText(serial_.portText());
    serial_.start();
    showMarks();
    enableGroups();
    showChoices();
}

void SerialWindow::createStatusLines() {
    // No status text widens the window: a long one is cut at its end.
    status_ = named(new QLabel(this), "Advise");
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(QString(32, 'M')));
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The backup note and the port note never show together (a port that did not open makes
    // no backup): they share room for three lines, which the window keeps whether one shows
    // or not.
    notes_ = new QWidget(this);
    backup_ = named(new QLabel(notes_), "BackupNote");
    backup_->setTextFormat(Qt::RichText);
    backup_->setOpenExternalLinks(true);
    backup_->setWordWrap(true);
    backup_->hide();
    portProblem_ = named(new QLabel(notes_), "PortNote");
    portProblem_->setWordWrap(true);
    portProblem_->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; }"));
    portProblem_->hide();
    auto* notes = new QVBoxLayout(notes_);
    notes->setContentsMargins(0, 0, 0, 0);
    for (QLabel* note : {portProblem_, backup_}) {
        note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        notes->addWidget(note);
    }
    notes->addStretch();
    notes_->setFixedHeight(3 * fontMetrics().lineSpacing() + 4);
    compareBefore_ = named(new QPushButton(this), "CompareBeforeDownload");
    QSizePolicy kept = compareBefore_->sizePolicy();
    kept.setRetainSizeWhenHidden(true);
    compareBefore_->setSizePolicy(kept);
    compareBefore_->setVisible(session_.listsBeforeDownload() != nullptr);
}

void SerialWindow::createConnection() {
    connection_ = named(new QGroupBox(this), "Frame2");
    portLabel_ = named(new QLabel(connection_), "Comlab");
    port_ = named(new QLabel(connection_), "Port");
    speedLabel_ = named(new QLabel(connection_), "Portlab");
    speed_ = named(new QLabel(connection_), "Status");
    modeLabel_ = named(new QLabel(connection_), "ConnLab");
    mode_ = named(new QComboBox(connection_), "ConnMode");
    // The firmwares' names are the same in every language.
    mode_->addItem(QStringLiteral("Dr. Vellox"));
    mode_->addItem(QStringLiteral("FTA 2.4061"));
    modeLabel_->setBuddy(mode_);
    bytesLabel_ = named(new QLabel(connection_), "Bytel");
    bytes_ = named(new QLabel(connection_), "LByte");
    channelsLabel_ = named(new QLabel(connection_), "Chlab");
    channels_ = named(new QLabel(connection_), "Ch2ser");
    // Room for the longest count ("3071.984375"), so that no count widens the window.
    for (QLabel* count : {bytes_, channels_})
        count->setMinimumWidth(
            count->fontMetrics().horizontalAdvance(QStringLiteral("0000.000000")));
    auto* grid = new QGridLayout(connection_);
    const std::pair<QLabel*, QWidget*> rows[] = {{portLabel_, port_},
                                                 {speedLabel_, speed_},
                                                 {modeLabel_, mode_},
                                                 {bytesLabel_, bytes_},
                                                 {channelsLabel_, channels_}};
    int r = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r++, 1);
    }
}

void SerialWindow::createTransfers() {
    transfers_ = named(new QGroupBox(this), "Frame1");
    includeChannels_ = named(new QCheckBox(transfers_), "IncludeCh");
    includeSettings_ = named(new QCheckBox(transfers_), "IncludeDVBsett");
    includeSystemFont_ = named(new QCheckBox(transfers_), "IncludeSysFon");
    font1_ = named(new QRadioButton(QStringLiteral("1"), transfers_), "Font1");
    font2_ = named(new QRadioButton(QStringLiteral("2"), transfers_), "Font2");
    includeTeletextFont_ = named(new QCheckBox(transfers_), "IncludeTxtFon");
    includeChannels_->setChecked(true);
    includeSettings_->setChecked(true);
    download_ = named(new QPushButton(transfers_), "Download");
    upload_ = named(new QPushButton(transfers_), "Upload");
    pictureLabel_ = named(new QLabel(transfers_), "Label1");
    picture1_ = named(new QRadioButton(QStringLiteral("1"), transfers_), "NoOfPic1");
    picture2_ = named(new QRadioButton(QStringLiteral("2"), transfers_), "NoOfPic2");
    // Two choices of their own: the font set and the picture slot share a group box only.
    auto* fontSets = new QButtonGroup(this);
    fontSets->addButton(font1_, 0);
    fontSets->addButton(font2_, 1);
    auto* pictureSlots = new QButtonGroup(this);
    pictureSlots->addButton(picture1_, 1);
    pictureSlots->addButton(picture2_, 2);
    (serial_.systemFontSet() == 1 ? font2_ : font1_)->setChecked(true);
    (serial_.pictureSlot() == 2 ? picture2_ : picture1_)->setChecked(true);
    connect(fontSets, &QButtonGroup::idToggled, this, [this](int set, bool on) {
        if (on) serial_.setSystemFontSet(set);
    });
    connect(pictureSlots, &QButtonGroup::idToggled, this, [this](int slot, bool on) {
        if (on) serial_.setPictureSlot(slot);
    });
    uploadPicture_ = named(new QPushButton(transfers_), "UploadPic");
    restore_ = named(new QPushButton(transfers_), "Restore");
    for (int i = 0; i < SerialController::kMarks; ++i) {
        ok_[static_cast<std::size_t>(i)] =
            mark(transfers_, QStringLiteral("Ok%1").arg(i), QStringLiteral("\u2714"), "#1a7f37");
        ko_[static_cast<std::size_t>(i)] =
            mark(transfers_, QStringLiteral("Ko%1").arg(i), QStringLiteral("\u2718"), "#c0392b");
        // Neither done nor failed: the user chose not to go on with the part. Only the parts
        // of a download or an upload are asked about.
        if (i <= SerialController::kTeletextFont) {
            skipped_[static_cast<std::size_t>(i)] =
                mark(transfers_, QStringLiteral("Skipped%1").arg(i), QStringLiteral("\u2013"),
                     "#7f8c8d");
        }
    }
}

void SerialWindow::createFirmware() {
    firmware_ = named(new QGroupBox(this), "Frame3");
    upgradeFirmware_ = named(new QPushButton(firmware_), "UpgradeFirmware");
    eraseFirmware_ = named(new QRadioButton(firmware_), "EraseFirmware");
    eraseAll_ = named(new QRadioButton(firmware_), "Eraseall");
    eraseFirmware_->setChecked(true);
    auto* firmwareRow = new QHBoxLayout(firmware_);
    firmwareRow->addWidget(upgradeFirmware_);
    firmwareRow->addWidget(eraseFirmware_);
    firmwareRow->addWidget(eraseAll_);
    for (QLabel* m : {ok_[SerialController::kFirmware], ko_[SerialController::kFirmware]}) {
        m->setParent(firmware_);
        firmwareRow->addWidget(m);
    }
}

void SerialWindow::createProgress() {
    progress_ = named(new QProgressBar(this), "Progress");
    progress_->setRange(0, 1000);
    progress_->reset();
    cancel_ = named(new QPushButton(this), "Cancel");
    cancel_->setEnabled(false);
}

void SerialWindow::layOutTransfers() {
    auto* choices = new QGridLayout(transfers_);
    QWidget* const choiceRows[] = {includeChannels_, includeSettings_, includeSystemFont_,
                                   includeTeletextFont_};
    for (int i = 0; i < static_cast<int>(std::size(choiceRows)); ++i) {
        choices->addWidget(choiceRows[i], i, 0);
        for (const auto* marks : {&ok_, &ko_, &skipped_})
            choices->addWidget((*marks)[static_cast<std::size_t>(i)], i, 2);
    }
    auto* fonts = new QHBoxLayout;
    fonts->addWidget(font1_);
    fonts->addWidget(font2_);
    choices->addLayout(fonts, 2, 1);
    choices->addWidget(download_, 4, 0);
    choices->addWidget(upload_, 4, 1);
    auto* picture = new QHBoxLayout;
    picture->addWidget(pictureLabel_);
    picture->addWidget(picture1_);
    picture->addWidget(picture2_);
    picture->addWidget(uploadPicture_);
    choices->addLayout(picture, 5, 0, 1, 2);
    choices->addWidget(ok_[SerialController::kPicture], 5, 2);
    choices->addWidget(ko_[SerialController::kPicture], 5, 2);
    choices->addWidget(restore_, 6, 0);
}

void SerialWindow::layOutWindow() {
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(notes_);
    layout->addWidget(compareBefore_, 0, Qt::AlignLeft);
    auto* middle = new QHBoxLayout;
    middle->addWidget(connection_);
    middle->addWidget(transfers_, 1);
    layout->addLayout(middle);
    layout->addWidget(firmware_);
    layout->addLayout(bottom);
}

SerialController::Parts SerialWindow::chosenParts() const {
    // A choice the mode does not offer is not taken.
    const auto taken = [](const QCheckBox* box) { return box->isEnabled() && box->isChecked(); };
    return {taken(includeChannels_), taken(includeSettings_), taken(includeSystemFont_),
            taken(includeTeletextFont_)};
}

void SerialWindow::connectActions() {
    connect(download_, &QPushButton::clicked, this, [this] { serial_.download(chosenParts()); });
    connect(upload_, &QPushButton::clicked, this, [this] { serial_.upload(chosenParts()); });
    connect(uploadPicture_, &QPushButton::clicked, this, &SerialWindow::uploadPicture);
    connect(upgradeFirmware_, &QPushButton::clicked, this, &SerialWindow::upgradeFirmware);
    connect(restore_, &QPushButton::clicked, this, &SerialWindow::restore);
    connect(&session_, &Session::stateChanged, this, &SerialWindow::showChoices);
    connect(cancel_, &QPushButton::clicked, &serial_, &SerialController::cancel);
    connect(mode_, &QComboBox::activated, this,
            [this](int index) { serial_.setMode(static_cast<SerialController::Mode>(index)); });
}

void SerialWindow::connectController() {
    connect(&serial_, &SerialController::statusChanged, status_, &QLabel::setText);
    connect(&serial_, &SerialController::statusColourChanged, this,
            &SerialWindow::showStatusColour);
    connect(&serial_, &SerialController::backupKept, this, &SerialWindow::showBackup);
    connect(&session_, &Session::stateChanged, this,
            [this] { compareBefore_->setVisible(session_.listsBeforeDownload() != nullptr); });
    connect(compareBefore_, &QPushButton::clicked, this,
            &SerialWindow::compareBeforeDownloadRequested);
    connect(&serial_, &SerialController::bytesChanged, bytes_, &QLabel::setText);
    connect(&serial_, &SerialController::channelsChanged, channels_, &QLabel::setText);
    connect(&serial_, &SerialController::speedChanged, speed_, &QLabel::setText);
    connect(&serial_, &SerialController::modeChanged, this, [this](SerialController::Mode m) {
        mode_->setCurrentIndex(static_cast<int>(m));
        showChoices();
    });
    connect(&serial_, &SerialController::marksChanged, this, &SerialWindow::showMarks);
    connect(&serial_, &SerialController::portChanged, this, &SerialWindow::showPortProblem);
    connect(&serial_, &SerialController::busyChanged, this, &SerialWindow::enableGroups);
    connect(&serial_, &SerialController::settlingChanged, this, &SerialWindow::enableGroups);
    connect(&serial_, &SerialController::progress, this, &SerialWindow::showProgress);
}

void SerialWindow::showPortProblem() {
    enableGroups();
    portProblem_->setText(serial_.portProblem());
    // A note about a very long device path may go beyond its three lines: whole here.
    portProblem_->setToolTip(serial_.portProblem());
    portProblem_->setVisible(!serial_.portProblem().isEmpty());
}

void SerialWindow::showProgress(qint64 done, qint64 total) {
    // At rest the bar is empty, without a figure.
    if (total <= 0) {
        progress_->reset();
        return;
    }
    progress_->setValue(static_cast<int>(done * progress_->maximum() / total));
}

void SerialWindow::showChoices() {
    // An FTA receiver is upload-only, and its loader takes the image of the channels alone:
    // the other choices are neither offered nor ticked, and come back as they were in DVB98
    // mode.
    const bool fta = serial_.mode() == SerialController::Mode::Fta;
    QCheckBox* const dvbOnly[] = {includeSettings_, includeSystemFont_, includeTeletextFont_};
    if (fta != ftaChoices_) {
        for (std::size_t i = 0; i < std::size(dvbOnly); ++i) {
            if (fta) dvbChoices_[i] = dvbOnly[i]->isChecked();
            dvbOnly[i]->setChecked(!fta && dvbChoices_[i]);
        }
        ftaChoices_ = fta;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             includeSettings_, includeSystemFont_, font1_, includeTeletextFont_, download_,
             pictureLabel_, picture1_, picture2_, uploadPicture_, restore_})
        w->setEnabled(!fta);
    // The second set exists only in a two-set system font.
    const std::optional<FontType> font = session_.workspace().fontType();
    const bool twoSets = font && fontSetCount(*font) == 2;
    font2_->setEnabled(!fta && twoSets);
    if (!twoSets) font1_->setChecked(true);
    enableGroups();
}

void SerialWindow::uploadPicture() {
    if (serial_.busy() || serial_.settling() || !serial_.portOpen()) return;
    const QString path =
        chooser_.openFile(session_.workingDir(), tr("Images (*.png *.jpg *.jpeg *.bmp *.gif)") +
                                                     QStringLiteral(";;") + tr("Bitmaps (*.bmp)") +
                                                     QStringLiteral(";;") + tr("All files (*)"));
    if (path.isEmpty()) return;
    const Result<PreparedPicture> picture = preparePicture(path);
    if (!picture) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(picture.status(), path));
        return;
    }
    if (!approver_->approve(*picture, path)) return;
    serial_.uploadPicture(picture->file);
}

void SerialWindow::upgradeFirmware() {
    if (serial_.busy() || serial_.settling() || !serial_.portOpen()) return;
    const QString path = chooser_.openFile(session_.workingDir(), tr("Firmware Files (*.bin)"));
    if (path.isEmpty()) return;
    const QString question =
        tr("The receiver's firmware will be replaced with \"%1\"%2. Do not switch the receiver "
           "off until the upgrade has ended. Go on?")
            .arg(QFileInfo(path).fileName(),
                 eraseAll_->isChecked() ? tr(", and its whole flash erased") : QString());
    if (prompter_.ask(Prompter::Icon::Question, question, Prompter::Buttons::YesNo,
                      Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    serial_.upgradeFirmware(path, eraseAll_->isChecked());
}

void SerialWindow::restore() {
    if (serial_.busy() || serial_.settling() || !serial_.portOpen() ||
        serial_.mode() != SerialController::Mode::Dvb98) {
        return;
    }
    const std::optional<BackupEntry> chosen =
        picker_->pick(serial_.backups(), QDir::toNativeSeparators(serial_.backupRoot()));
    if (chosen) serial_.restore(*chosen);
}

SerialWindow::~SerialWindow() {
    // A window closed earlier has let the port go already; its deferred deletion must not
    // stop a transfer that the next serial window has started since.
    if (!released_) serial_.stop();
}

void SerialWindow::enableGroups() {
    const bool busy = serial_.busy();
    const bool ready = !busy && !serial_.settling() && serial_.portOpen();
    connection_->setEnabled(!busy && !serial_.settling());
    transfers_->setEnabled(ready);
    // The firmware upgrade talks to the DVB98 firmware.
    firmware_->setEnabled(ready && serial_.mode() == SerialController::Mode::Dvb98);
    cancel_->setEnabled(busy || serial_.settling());
    // The busy pointer still lets Cancel be pressed.
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void SerialWindow::showStatusColour(StatusColour colour) {
    // The loader's call blinks between green and dark green.
    switch (colour) {
        case StatusColour::Normal:
            status_->setStyleSheet(QString());
            break;
        case StatusColour::Green:
            status_->setStyleSheet(QStringLiteral("QLabel { color: #00ff00; }"));
            break;
        case StatusColour::DarkGreen:
            status_->setStyleSheet(QStringLiteral("QLabel { color: #008000; }"));
            break;
    }
}

void SerialWindow::showBackup(const QString& folder) {
    backup_->setVisible(!folder.isEmpty());
    if (folder.isEmpty()) {
        backup_->clear();
        return;
    }
    // A long folder is shortened in its middle to a line of its own: the note keeps to its
    // room. The link opens the whole folder.
    const QMargins margins = layout()->contentsMargins();
    const int line = width() - margins.left() - margins.right() - 8;
    const QString shown = backup_->fontMetrics().elidedText(folder, Qt::ElideMiddle, line);
    backup_->setToolTip(folder);
    const QString link =
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded), shown.toHtmlEscaped());
    backup_->setText(tr("What the receiver held before the upload is kept in %1").arg(link));
}

void SerialWindow::showMarks() {
    for (int i = 0; i < SerialController::kMarks; ++i) {
        const auto m = serial_.mark(i);
        const auto at = static_cast<std::size_t>(i);
        ok_[at]->setVisible(m == SerialController::Mark::Ok);
        ko_[at]->setVisible(m == SerialController::Mark::Ko);
        if (skipped_[at] != nullptr) skipped_[at]->setVisible(m == SerialController::Mark::Skipped);
    }
}

void SerialWindow::fixSize() {
    // Whatever shows later (the backup or port note, the comparison button, a mark, the
    // progress) has its room already: transfers never change the size.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    setFixedSize(sizeHint().expandedTo(minimumSizeHint()));
    if (isVisible()) keepOnScreen();
}

void SerialWindow::keepOnScreen() {
    QRect outer = frameGeometry();
    // Before the window system has framed it, its frame is taken as large as the main
    // window's.
    if (outer.size() == size() && parentWidget() != nullptr) {
        const QWidget* frame = parentWidget()->window();
        outer.setSize(size() + frame->frameGeometry().size() - frame->size());
    }
    const QScreen* on = QGuiApplication::screenAt(outer.center());
    if (on == nullptr) on = screen();
    if (on == nullptr) return;
    const QRect area = on->availableGeometry();
    const QPoint place(std::clamp(outer.left(), area.left(),
                                  std::max(area.left(), area.right() - outer.width() + 1)),
                       std::clamp(outer.top(), area.top(),
                                  std::max(area.top(), area.bottom() - outer.height() + 1)));
    if (place != outer.topLeft()) move(place);
}

void SerialWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOnScreen();
}

void SerialWindow::setTexts() {
    // The caption is the same in every language.
    setWindowTitle(QStringLiteral("QEL 8.5 Serial module  for firmware upgrade "));
    pictureLabel_->setText(tr("Upload to picture"));
    upgradeFirmware_->setText(tr("&Firmware upgrade"));
    eraseFirmware_->setText(tr("Erase firm&ware"));
    compareBefore_->setText(tr("Compare with the list before the download"));
    eraseAll_->setText(tr("Erase &all"));
    uploadPicture_->setText(tr("&Picture Upload"));
    restore_->setText(tr("&Restore…"));
    restore_->setToolTip(tr("Put a backup kept before an upload back into the receiver"));
    modeLabel_->setText(tr("&Mode"));
    bytesLabel_->setText(tr("Bytes used"));
    channelsLabel_->setText(tr("Channels in list"));
    speedLabel_->setText(tr("Port settings"));
    portLabel_->setText(tr("COM Port"));
    includeChannels_->setText(tr("&Channels"));
    includeSettings_->setText(tr("Sett&ings"));
    includeSystemFont_->setText(tr("Syste&m Font"));
    includeTeletextFont_->setText(tr("Teletext F&ont"));
    download_->setText(QStringLiteral("&Vandu --> PC"));
    upload_->setText(QStringLiteral("PC --> Va&ndu"));
    cancel_->setText(tr("Cancel"));
    connection_->setTitle(tr("Connection"));
    transfers_->setTitle(tr("Transfer"));
    firmware_->setTitle(tr("Firmware"));
    for (QLabel* skipped : skipped_) {
        if (skipped != nullptr)
            skipped->setToolTip(tr("Skipped: nothing was sent or fetched for it"));
    }
    fixSize();
    showBackup(serial_.lastBackup());
}

void SerialWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

void SerialWindow::closeEvent(QCloseEvent* event) {
    // A transfer holds the port: the window stays until it has ended.
    if (serial_.busy()) {
        prompter_.tell(Prompter::Icon::Critical, tr("Connection in progress.."));
        event->ignore();
        return;
    }
    serial_.stop();
    released_ = true;
    QWidget::closeEvent(event);
}

}  // namespace qel
