#include "ui/compare_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "app/texts.h"

namespace qel {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPlaceRole = Qt::UserRole + 1;

enum Column {
    kKindColumn,
    kListColumn,
    kRowColumn,
    kOtherRowColumn,
    kNameColumn,
    kFirstColumn,
    kSecondColumn,
    kColumns
};

QString row(std::size_t index) {
    return QString::number(index + 1);
}

QTreeWidgetItem* item(CompareWindow::Kind kind, std::size_t place, ListId list) {
    auto* it = new QTreeWidgetItem;
    it->setData(kKindColumn, kKindRole, static_cast<int>(kind));
    it->setData(kKindColumn, kPlaceRole, static_cast<qulonglong>(place));
    it->setText(kListColumn, QString::fromLatin1(listName(list)));
    return it;
}

// A field line belongs to its changed channel.
const QTreeWidgetItem* topLevel(const QTreeWidgetItem* it) {
    return it->parent() != nullptr ? it->parent() : it;
}

}  // namespace

CompareWindow::CompareWindow(CompareController& compare, QWidget* parent)
    : QWidget(parent, Qt::Window), compare_(compare) {
    setObjectName(QStringLiteral("CompareForm"));
    const char* filterNames[kKinds] = {"OnlyInList", "OnlyInFile", "Changed", "Moved"};
    auto* filters = new QHBoxLayout;
    for (int k = 0; k < kKinds; ++k) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QString::fromLatin1(filterNames[k]));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, &CompareWindow::applyFilters);
        filters_[static_cast<std::size_t>(k)] = box;
        filters->addWidget(box);
    }
    filters->addStretch();

    entries_ = new QTreeWidget(this);
    entries_->setObjectName(QStringLiteral("Entries"));
    entries_->setColumnCount(kColumns);
    entries_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    entries_->setUniformRowHeights(true);
    entries_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(entries_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* it) { activated(it); });
    connect(entries_, &QTreeWidget::itemSelectionChanged, this, &CompareWindow::updateButtons);

    put_ = new QPushButton(this);
    put_->setObjectName(QStringLiteral("PutIntoBuffer"));
    takeOver_ = new QPushButton(this);
    takeOver_->setObjectName(QStringLiteral("TakeOver"));
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("CloseCompare"));
    connect(put_, &QPushButton::clicked, this,
            [this] { compare_.putIntoBuffer(selected(kOnlyInFile)); });
    connect(takeOver_, &QPushButton::clicked, this,
            [this] { compare_.takeOver(selected(kChanged)); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("CompareSummary"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(put_);
    buttons->addWidget(takeOver_);
    buttons->addWidget(summary_, 1, Qt::AlignCenter);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(entries_);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(&compare_, &CompareController::comparisonChanged, this, &CompareWindow::refill);
    fill();
}

void CompareWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) refill();
    QWidget::changeEvent(event);
}

void CompareWindow::showEvent(QShowEvent* event) {
    if (stale_) fill();
    QWidget::showEvent(event);
}

void CompareWindow::refill() {
    stale_ = !isVisible();
    if (!stale_) fill();
}

void CompareWindow::setTexts() {
    const ListComparison& c = compare_.comparison();
    const QString other = compare_.otherName();
    // A short title: the counts are on the filters, where a long file name cannot cut them.
    setWindowTitle(tr("QEL - Compare with %1").arg(other));
    // Against the lists as loaded or downloaded, the shown lists are "now": "the loaded list"
    // beside "the list as loaded" would name both sides alike.
    QString onlyInList = tr("Only in the loaded list (%1)");
    QString onlyInOther = tr("Only in %1 (%2)").arg(other);
    QString listColumn = tr("Loaded list");
    QString otherColumn = other;
    switch (compare_.against()) {
        case CompareController::Other::File:
            break;
        case CompareController::Other::BeforeDownload:
            onlyInOther = tr("Only in the list before the download (%1)");
            break;
        case CompareController::Other::AsLoaded:
            onlyInList = tr("Only in the list now (%1)");
            onlyInOther = tr("Only in the list as loaded (%1)");
            listColumn = tr("Now");
            otherColumn = tr("As loaded");
            break;
        case CompareController::Other::AsDownloaded:
            onlyInList = tr("Only in the list now (%1)");
            onlyInOther = tr("Only in the list as downloaded (%1)");
            listColumn = tr("Now");
            otherColumn = tr("As downloaded");
            break;
    }
    filter(kOnlyInList)->setText(onlyInList.arg(c.onlyInFirst.size()));
    filter(kOnlyInFile)->setText(onlyInOther.arg(c.onlyInSecond.size()));
    filter(kChanged)->setText(tr("Changed (%1)").arg(c.changed.size()));
    filter(kMoved)->setText(tr("Moved (%1)").arg(c.moved.size()));
    entries_->setHeaderLabels({tr("Kind"), tr("List"), tr("Row"), tr("Row in the other"),
                               tr("Name / field"), listColumn, otherColumn});
    put_->setText(tr("Put into buffer"));
    takeOver_->setText(tr("Take over the changes"));
    close_->setText(tr("Close"));
    const std::size_t differences =
        c.onlyInFirst.size() + c.onlyInSecond.size() + c.changed.size() + c.moved.size();
    summary_->setText(
        differences == 0
            ? tr("No differences: the lists hold the same channels in the same places.")
            : tr("Differences: %1").arg(differences));
}

void CompareWindow::fill() {
    stale_ = false;
    setTexts();
    const ListComparison& c = compare_.comparison();
    QList<QTreeWidgetItem*> items;
    for (std::size_t i = 0; i < c.onlyInFirst.size(); ++i) {
        const UnpairedChannel& e = c.onlyInFirst[i];
        QTreeWidgetItem* it = item(kOnlyInList, i, e.list);
        it->setText(kKindColumn, tr("Only in the list"));
        it->setText(kRowColumn, row(e.row));
        it->setText(kNameColumn, Texts::fromLatin1(e.name));
        items << it;
    }
    for (std::size_t i = 0; i < c.onlyInSecond.size(); ++i) {
        const UnpairedChannel& e = c.onlyInSecond[i];
        QTreeWidgetItem* it = item(kOnlyInFile, i, e.list);
        it->setText(kKindColumn, tr("Only in the other"));
        it->setText(kOtherRowColumn, row(e.row));
        it->setText(kNameColumn, Texts::fromLatin1(e.name));
        items << it;
    }
    for (std::size_t i = 0; i < c.changed.size(); ++i) {
        const ChangedChannel& e = c.changed[i];
        QTreeWidgetItem* it = item(kChanged, i, e.list);
        it->setText(kKindColumn, tr("Changed"));
        it->setText(kRowColumn, row(e.firstRow));
        it->setText(kOtherRowColumn, row(e.secondRow));
        it->setText(kNameColumn, Texts::fromLatin1(e.name));
        QStringList names;
        for (const FieldDifference& f : e.fields) {
            auto* line = new QTreeWidgetItem(it);
            line->setText(kNameColumn, QString::fromLatin1(f.field));
            line->setText(kFirstColumn, Texts::fromLatin1(f.first));
            line->setText(kSecondColumn, Texts::fromLatin1(f.second));
            names << QString::fromLatin1(f.field);
        }
        it->setText(kFirstColumn, names.join(QStringLiteral(", ")));
        items << it;
    }
    for (std::size_t i = 0; i < c.moved.size(); ++i) {
        const MovedChannel& e = c.moved[i];
        QTreeWidgetItem* it = item(kMoved, i, e.list);
        it->setText(kKindColumn, tr("Moved"));
        it->setText(kRowColumn, row(e.firstRow));
        it->setText(kOtherRowColumn, row(e.secondRow));
        it->setText(kNameColumn, Texts::fromLatin1(e.name));
        items << it;
    }
    entries_->clear();
    entries_->addTopLevelItems(items);
    entries_->expandAll();
    applyFilters();
    updateButtons();
}

void CompareWindow::applyFilters() {
    for (int i = 0; i < entries_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = entries_->topLevelItem(i);
        const int kind = it->data(kKindColumn, kKindRole).toInt();
        it->setHidden(!filters_[static_cast<std::size_t>(kind)]->isChecked());
    }
    updateButtons();
}

QTreeWidgetItem* CompareWindow::entry(Kind kind, std::size_t place) const {
    for (int i = 0; i < entries_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = entries_->topLevelItem(i);
        if (it->data(kKindColumn, kKindRole).toInt() == kind &&
            it->data(kKindColumn, kPlaceRole).toULongLong() == place) {
            return it;
        }
    }
    return nullptr;
}

std::vector<std::size_t> CompareWindow::selected(Kind kind) const {
    std::set<std::size_t> places;
    for (const QTreeWidgetItem* it : entries_->selectedItems()) {
        const QTreeWidgetItem* top = topLevel(it);
        if (top->data(kKindColumn, kKindRole).toInt() != kind) continue;
        places.insert(top->data(kKindColumn, kPlaceRole).toULongLong());
    }
    return {places.begin(), places.end()};
}

void CompareWindow::updateButtons() {
    put_->setEnabled(!selected(kOnlyInFile).empty());
    takeOver_->setEnabled(!selected(kChanged).empty());
}

void CompareWindow::activated(QTreeWidgetItem* it) {
    const QTreeWidgetItem* top = topLevel(it);
    const auto place = top->data(kKindColumn, kPlaceRole).toULongLong();
    const ListComparison& c = compare_.comparison();
    switch (static_cast<Kind>(top->data(kKindColumn, kKindRole).toInt())) {
        case kOnlyInList:
            compare_.showInList(c.onlyInFirst[place].list, c.onlyInFirst[place].row);
            break;
        case kChanged:
            compare_.showInList(c.changed[place].list, c.changed[place].firstRow);
            break;
        case kMoved:
            compare_.showInList(c.moved[place].list, c.moved[place].firstRow);
            break;
        case kOnlyInFile:  // not in the loaded lists
            break;
    }
}

}  // namespace qel
