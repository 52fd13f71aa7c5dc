#include "ui/check_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
    removeDuplicates_ = new QPushButton(this);
    removeDuplicates_->setObjectName("RemoveDuplicates");
    close_ = new QPushButton(this);
    close_->setObjectName("CloseCheck");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(removeDuplicates_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(760, 360);

    connect(table_, &QTableWidget::itemActivated, this, [this](QTableWidgetItem* item) {
        check_.showFinding(static_cast<std::size_t>(item->row()));
    });
    connect(removeDuplicates_, &QPushButton::clicked, this, [this] { check_.removeDuplicates(); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(&check_, &CheckController::findingsChanged, this, [this] {
        if (isVisible()) fill();
    });
    setTexts();
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
    close_->setText(tr("&Close"));
}

void CheckWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Watching checks the lists as they are now, and the table shows them.
    check_.setWatching(true);
}

void CheckWindow::hideEvent(QHideEvent* event) {
    check_.setWatching(false);
    QWidget::hideEvent(event);
}

void CheckWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setTexts();
        if (isVisible()) fill();
    }
    QWidget::changeEvent(event);
}

}  // namespace qel
