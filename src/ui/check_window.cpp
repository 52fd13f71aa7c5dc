#include "ui/check_window.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/texts.h"

namespace qel {

CheckWindow::CheckWindow(CheckController& check, QWidget* parent)
    : QWidget(parent, Qt::Window), check_(check) {
    setObjectName("CheckForm");
    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName("CheckTable");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    summary_ = new QLabel(this);
    summary_->setObjectName("CheckSummary");
    // A long summary wraps rather than widening a small window.
    summary_->setWordWrap(true);
    removeDuplicates_ = new QPushButton(this);
    removeDuplicates_->setObjectName("RemoveDuplicates");
    close_ = new QPushButton(this);
    close_->setObjectName("CloseCheck");

    showSatellites_ = new QPushButton(this);
    showSatellites_->setObjectName("ShowSatellites");
    showSatellites_->setCheckable(true);
    satellitesBox_ = new QGroupBox(this);
    satellitesBox_->setObjectName("SatellitesBox");
    // Out of the way until used: the findings keep the room of a small window.
    satellitesBox_->hide();
    chooseSatellites_ = new QPushButton(satellitesBox_);
    chooseSatellites_->setObjectName("ChooseSatellites");
    satellitesLabel_ = new QLabel(satellitesBox_);
    satellitesLabel_->setObjectName("SatellitesFile");
    assignments_ = new QTableWidget(0, 2, satellitesBox_);
    assignments_->setObjectName("SatAssignments");
    assignments_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    assignments_->setSelectionBehavior(QAbstractItemView::SelectRows);
    assignments_->setSelectionMode(QAbstractItemView::SingleSelection);
    assignments_->verticalHeader()->hide();
    assignments_->horizontalHeader()->setStretchLastSection(true);
    takeOver_ = new QPushButton(satellitesBox_);
    takeOver_->setObjectName("TakeOverSat");
    fill_ = new QPushButton(satellitesBox_);
    fill_->setObjectName("FillTransponders");

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(chooseSatellites_);
    fileRow->addWidget(satellitesLabel_, 1);
    auto* satButtons = new QHBoxLayout;
    satButtons->addStretch(1);
    satButtons->addWidget(takeOver_);
    satButtons->addWidget(fill_);
    auto* satLayout = new QVBoxLayout(satellitesBox_);
    satLayout->addLayout(fileRow);
    satLayout->addWidget(assignments_, 1);
    satLayout->addLayout(satButtons);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(showSatellites_);
    buttons->addWidget(removeDuplicates_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addWidget(satellitesBox_, 2);
    layout->addLayout(buttons);
    resize(760, 520);

    connect(table_, &QTableWidget::itemActivated, this, [this](QTableWidgetItem* item) {
        check_.showFinding(static_cast<std::size_t>(item->row()));
    });
    connect(removeDuplicates_, &QPushButton::clicked, this, [this] { check_.removeDuplicates(); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(&check_, &CheckController::findingsChanged, this, [this] {
        if (isVisible()) fill();
    });
    connect(showSatellites_, &QPushButton::toggled, satellitesBox_, &QWidget::setVisible);
    connect(chooseSatellites_, &QPushButton::clicked, this,
            [this] { check_.chooseSatellitesFile(); });
    connect(takeOver_, &QPushButton::clicked, this, [this] { check_.takeOverFromSatellites(); });
    connect(fill_, &QPushButton::clicked, this, [this] {
        const int row = assignments_->currentRow();
        if (row >= 0 && static_cast<std::size_t>(row) < shownGroups_.size())
            check_.fillTransponders(shownGroups_[static_cast<std::size_t>(row)].number);
    });
    connect(assignments_, &QTableWidget::currentCellChanged, this,
            [this] { updateSatelliteButtons(); });
    connect(&check_, &CheckController::satellitesChanged, this, [this] {
        if (isVisible()) fillSatellites();
    });
    setTexts();
    fillSatellites();
}

QComboBox* CheckWindow::satelliteChoice(int row) const {
    return qobject_cast<QComboBox*>(assignments_->cellWidget(row, 1));
}

void CheckWindow::fillSatellites(bool always) {
    const SatellitesFile* file = check_.satellites();
    if (file == nullptr) {
        satellitesLabel_->setText(tr("No satellites.xml chosen."));
    } else {
        std::size_t transponders = 0;
        for (const SatellitesSat& sat : file->sats)
            transponders += sat.transponders.size();
        satellitesLabel_->setText(tr("%1: %2 satellite(s), %3 transponder(s)")
                                      .arg(QFileInfo(check_.satellitesPath()).fileName())
                                      .arg(file->sats.size())
                                      .arg(transponders));
    }
    fillAssignments(always);
}

// Rebuilt only when the groups or the file change: an edit of a channel keeps the choices
// where the user is working.
void CheckWindow::fillAssignments(bool always) {
    const SatellitesFile* file = check_.satellites();
    const std::vector<SatGroup> groups =
        file != nullptr ? check_.groups() : std::vector<SatGroup>{};
    if (!always && file == shownFile_ && groups == shownGroups_) {
        for (int r = 0; r < assignments_->rowCount(); ++r) {
            const std::optional<int> chosen =
                check_.assigned(shownGroups_[static_cast<std::size_t>(r)]);
            QComboBox* choice = satelliteChoice(r);
            QSignalBlocker quiet(choice);
            choice->setCurrentIndex(chosen ? std::max(0, choice->findData(*chosen)) : 0);
        }
        updateSatelliteButtons();
        return;
    }
    // A file read (chosen, or the last session's) opens the part it is used in.
    if (file != nullptr && file != shownFile_) showSatellites_->setChecked(true);
    const int keepRow = assignments_->currentRow();
    shownGroups_ = groups;
    shownFile_ = file;
    assignments_->setRowCount(static_cast<int>(groups.size()));
    for (int r = 0; r < assignments_->rowCount(); ++r) {
        const SatGroup& group = groups[static_cast<std::size_t>(r)];
        assignments_->setItem(r, 0, new QTableWidgetItem(CheckController::groupText(group)));
        auto* choice = new QComboBox(assignments_);
        choice->setObjectName("SatChoice");
        choice->addItem(tr("(not checked)"));
        for (const SatellitesSat& sat : file->sats) {
            choice->addItem(QString::fromStdString(satelliteLabel(sat)), sat.position);
        }
        const std::optional<int> chosen = check_.assigned(group);
        choice->setCurrentIndex(chosen ? std::max(0, choice->findData(*chosen)) : 0);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, group, choice](int index) {
            const QVariant position = choice->itemData(index);
            check_.assign(group,
                          position.isValid() ? std::optional<int>(position.toInt()) : std::nullopt);
            updateSatelliteButtons();
        });
        assignments_->setCellWidget(r, 1, choice);
    }
    assignments_->resizeColumnToContents(0);
    if (keepRow >= 0 && keepRow < assignments_->rowCount())
        assignments_->setCurrentCell(keepRow, 0);
    updateSatelliteButtons();
}

void CheckWindow::updateSatelliteButtons() {
    const bool loaded = check_.satellites() != nullptr;
    takeOver_->setEnabled(loaded && !shownGroups_.empty());
    const int row = assignments_->currentRow();
    const bool antenna = row >= 0 && static_cast<std::size_t>(row) < shownGroups_.size() &&
                         shownGroups_[static_cast<std::size_t>(row)].kind == SatGroupKind::Antenna;
    fill_->setEnabled(loaded && antenna &&
                      check_.assigned(shownGroups_[static_cast<std::size_t>(row)]).has_value());
    fill_->setVisible(loaded && check_.ftaImage());
}

void CheckWindow::fill() {
    const std::vector<Finding>& findings = check_.findings();
    table_->setRowCount(static_cast<int>(findings.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const Finding& f = findings[static_cast<std::size_t>(r)];
        const QString cells[kColumns] = {CheckController::levelText(f.level),
                                         QString::fromLatin1(listName(f.list)),
                                         QString::number(f.row),
                                         Texts::fromLatin1(f.name),
                                         QString::fromStdString(f.field),
                                         check_.message(f)};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == kRow) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == kMessage) item->setToolTip(cells[c]);
            table_->setItem(r, c, item);
        }
    }
    // The message takes the room the other columns leave.
    for (int c = 0; c < kMessage; ++c)
        table_->resizeColumnToContents(c);
    const FindingCounts counts = countFindings(findings);
    if (!findings.empty()) {
        summary_->setText(tr("%1 error(s), %2 warning(s)").arg(counts.errors).arg(counts.warnings));
    } else if (check_.nothingToCheck()) {
        summary_->setText(tr("Nothing to check: the lists hold no channels."));
    } else {
        summary_->setText(tr("Nothing found: the lists are ready for the receiver."));
    }
    removeDuplicates_->setEnabled(check_.hasDuplicates());
}

void CheckWindow::setTexts() {
    setWindowTitle(tr("QEL - Check list"));
    table_->setHorizontalHeaderLabels(
        {tr("Level"), tr("List"), tr("Row"), tr("Name"), tr("Field"), tr("Message")});
    removeDuplicates_->setText(tr("&Remove duplicates"));
    satellitesBox_->setTitle(tr("Against a satellites.xml"));
    showSatellites_->setText(tr("&Satellites.xml"));
    chooseSatellites_->setText(tr("&Open..."));
    assignments_->setHorizontalHeaderLabels({tr("Channels"), tr("Satellite")});
    takeOver_->setText(tr("&Take over symbol rates and FEC"));
    fill_->setText(tr("&Fill the antenna's transponders"));
    close_->setText(tr("&Close"));
}

void CheckWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Watching checks the lists as they are now, and the table shows them.
    check_.setWatching(true);
    fillSatellites();
}

void CheckWindow::hideEvent(QHideEvent* event) {
    check_.setWatching(false);
    QWidget::hideEvent(event);
}

void CheckWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setTexts();
        fillSatellites(true);
        if (isVisible()) fill();
    }
    QWidget::changeEvent(event);
}

}  // namespace qel
