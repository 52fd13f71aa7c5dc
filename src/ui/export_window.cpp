#include "ui/export_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/file_filters.h"
#include "app/texts.h"

namespace qel {

namespace {

template <class T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

constexpr const char* kColumnNames[] = {"ExId", "ExAnt", "Exfreq", "Expol",
                                        "Exsr", "Exfec", "Expid",  "ExAcbw"};
// The columns' captions are the same in every language.
constexpr const char* kColumnCaptions[] = {"Id's", "Ant", "Freq.", "Pol.",
                                           "S/R",  "FEC", "Pids",  "Acbw"};
constexpr int kAntenna = 1;

}  // namespace

ExportWindow::ExportWindow(ExportController& exporter, Session& session, Prompter& prompter,
                           FileChooser& chooser, QWidget* parent)
    : QWidget(parent, Qt::Window),
      exporter_(exporter),
      session_(session),
      prompter_(prompter),
      chooser_(chooser) {
    setObjectName("ExportForm");
    buildFormatBox();
    buildColumnsBox();
    createSamplesAndButtons();
    layOut();
    showInitialChoices();
    connectSignals();
    setTexts();
}

void ExportWindow::buildFormatBox() {
    format_ = named(new QGroupBox(this), "Forma");
    headed_ = named(new QRadioButton(format_), "IntFormat");
    plain_ = named(new QRadioButton(format_), "ColuFormat");
    importCompatible_ = named(new QRadioButton(format_), "IOFormat");
    auto* formats = new QVBoxLayout(format_);
    for (QRadioButton* b : {headed_, plain_, importCompatible_})
        formats->addWidget(b);
}

void ExportWindow::buildColumnsBox() {
    layout_ = named(new QGroupBox(this), "Playout");
    auto* boxes = new QGridLayout(layout_);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        columns_[i] =
            named(new QCheckBox(QString::fromLatin1(kColumnCaptions[i]), layout_), kColumnNames[i]);
        boxes->addWidget(columns_[i], static_cast<int>(i / 4), static_cast<int>(i % 4));
    }
    base_ = named(new QComboBox(layout_), "Hexdec");
    base_->addItem(QStringLiteral("HEX"));
    base_->addItem(QStringLiteral("DEC"));
    boxes->addWidget(base_, 2, 0);
}

void ExportWindow::createSamplesAndButtons() {
    columnSample_ = named(new QLabel(this), "Label29");
    headerSample_ = named(new QLabel(this), "Label32");
    for (QLabel* sample : {columnSample_, headerSample_}) {
        sample->setFont(QFont(QStringLiteral("Monospace")));
        sample->setFrameShape(QFrame::StyledPanel);
    }
    utf8_ = named(new QCheckBox(this), "ExpUtf8");
    choose_ = named(new QPushButton(this), "ExpChoose");
    export_ = named(new QPushButton(this), "ExpButt");
    progress_ = named(new QLabel(this), "Label40");
}

void ExportWindow::layOut() {
    auto* top = new QHBoxLayout;
    top->addWidget(format_);
    top->addWidget(layout_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_, 1);
    buttons->addWidget(choose_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(columnSample_);
    layout->addWidget(headerSample_);
    layout->addWidget(utf8_);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
}

void ExportWindow::showInitialChoices() {
    // The window opens on a paged export in hexadecimal with the remembered columns.
    const ExportColumns initial = exporter_.initialColumns();
    const bool ticked[] = {initial.ids,          initial.antenna,    initial.frequency,
                           initial.polarisation, initial.symbolRate, initial.fec,
                           initial.pids,         initial.bandwidth};
    for (std::size_t i = 0; i < columns_.size(); ++i)
        columns_[i]->setChecked(ticked[i]);
    headed_->setChecked(true);
    utf8_->setChecked(exporter_.initialUtf8());
    followFileType();
}

void ExportWindow::connectSignals() {
    for (QRadioButton* b : {headed_, plain_, importCompatible_}) {
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) formChosen();
        });
    }
    connect(export_, &QPushButton::clicked, this, &ExportWindow::exportFile);
    connect(choose_, &QPushButton::clicked, this, &ExportWindow::chooseFile);
    connect(&session_, &Session::stateChanged, this, [this] {
        followFileType();
        showTarget();
    });
}

ExportOptions ExportWindow::options() const {
    ExportOptions o;
    o.form = headed_->isChecked()  ? TextForm::Headed
             : plain_->isChecked() ? TextForm::Plain
                                   : TextForm::ImportCompatible;
    ExportColumns& c = o.columns;
    bool* fields[] = {&c.ids,        &c.antenna, &c.frequency, &c.polarisation,
                      &c.symbolRate, &c.fec,     &c.pids,      &c.bandwidth};
    for (std::size_t i = 0; i < columns_.size(); ++i)
        *fields[i] = columns_[i]->isChecked();
    o.decimal = base_->currentIndex() == 1;
    o.ftaImage = session_.workspace().fileType() == FileKind::BIN;
    return o;
}

void ExportWindow::formChosen() {
    const bool free = !importCompatible_->isChecked();
    layout_->setEnabled(free);
    if (!free) {
        // The import reads every column but the antenna, in hexadecimal.
        for (std::size_t i = 0; i < columns_.size(); ++i)
            columns_[i]->setChecked(i != kAntenna);
        base_->setCurrentIndex(0);
    }
}

void ExportWindow::followFileType() {
    const bool image = session_.workspace().fileType() == FileKind::BIN;
    // Only an FTA image has antennas; only DVB98 lists can be imported again.
    columns_[kAntenna]->setEnabled(image);
    if (!image) columns_[kAntenna]->setChecked(false);
    if (image && importCompatible_->isChecked()) headed_->setChecked(true);
    importCompatible_->setEnabled(!image);
}

void ExportWindow::showTarget() {
    const QString target = exporter_.target();
    export_->setText(tr("Export as file ") + QFileInfo(target).fileName());
    export_->setToolTip(QDir::toNativeSeparators(target));
}

void ExportWindow::chooseFile() {
    const QString current = exporter_.target();
    const QString folder = current.isEmpty() ? session_.workingDir() : QFileInfo(current).path();
    const QString path =
        chooser_.saveFile(folder, QFileInfo(current).fileName(), saveFilter(FileFormatId::Text));
    if (path.isEmpty()) return;
    exporter_.setTarget(path);
    showTarget();
}

void ExportWindow::exportFile() {
    QString path = exporter_.target();
    if (path.isEmpty()) {
        // Nothing loaded gives no name to derive one from: the user names the file.
        chooseFile();
        path = exporter_.target();
        if (path.isEmpty()) return;
    }
    if (QFileInfo::exists(path) &&
        prompter_.ask(
            Prompter::Icon::Question,
            tr("The file %1 already exists.\nReplace it ?").arg(QDir::toNativeSeparators(path)),
            Prompter::Buttons::YesNo, Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    const std::size_t total = session_.workspace().channelCount();
    progress_->setText(QStringLiteral("%1 / %1").arg(total));
    const Status st = exporter_.exportTo(path, options(), utf8_->isChecked());
    if (!st) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(st, path));
        return;
    }
    prompter_.tell(Prompter::Icon::Information, tr("Export completed"));
    progress_->setText(QStringLiteral("X / X"));
}

void ExportWindow::setTexts() {
    setWindowTitle(tr("QEL - Export"));
    format_->setTitle(tr(" Format "));
    headed_->setText(tr("Intested "));
    plain_->setText(tr("Not intested"));
    importCompatible_->setText(tr("Import compatible"));
    layout_->setTitle(tr(" Page layout "));
    columnSample_->setText(
        tr("No           Name        Id's         Ant         Freq.       Pol.       S/R      "
           "FEC       Pids     Acbw"));
    headerSample_->setText(
        tr("   QEL -  Setting file : xxxxxxx      XX/XX/XX           Page x of x"));
    utf8_->setText(tr("In &UTF-8 (an accented letter takes two bytes)"));
    choose_->setText(tr("Choose &file..."));
    showTarget();
}

void ExportWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

}  // namespace qel
