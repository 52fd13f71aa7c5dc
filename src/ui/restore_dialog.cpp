#include "ui/restore_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/texts.h"

namespace qel {

namespace {

enum Column { kDate, kTv, kRadio, kNote, kColumns };

}  // namespace

RestoreDialog::RestoreDialog(std::vector<BackupEntry> backups, const QString& root, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups)), root_(root) {
    setObjectName("RestoreDialog");
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setObjectName("Backups");
    list_->setColumnCount(kColumns);
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    buttons_ = new QDialogButtonBox(this);
    restore_ = buttons_->addButton(QString(), QDialogButtonBox::AcceptRole);
    cancel_ = buttons_->addButton(QString(), QDialogButtonBox::RejectRole);
    restore_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &RestoreDialog::enableRestore);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (chosen()) accept();
    });
    setTexts();
    // The newest backup that can be restored is offered first.
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (!backups_[static_cast<std::size_t>(i)].damaged()) {
            list_->setCurrentItem(list_->topLevelItem(i));
            break;
        }
    }
    enableRestore();
    resize(sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(QString(56, 'M')), 0)));
}

void RestoreDialog::fillList() {
    const int current =
        list_->currentItem() != nullptr ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    list_->clear();
    for (const BackupEntry& b : backups_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kDate, QString::fromStdString(backupDateText(b.date)));
        const bool counted = b.hasChannels && !(b.damaged() && b.tvCount + b.radioCount == 0);
        item->setText(kTv, counted ? QString::number(b.tvCount) : QString());
        item->setText(kRadio, counted ? QString::number(b.radioCount) : QString());
        item->setTextAlignment(kTv, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kRadio, Qt::AlignRight | Qt::AlignVCenter);
        QString note;
        if (b.damaged()) {
            // The error's own text for settings of another receiver says only "Error".
            note = tr("Damaged: %1")
                       .arg(b.damage.error() == ErrorCode::SettingsNotTagged
                                ? tr("no DVB98 settings")
                                : Texts::errorMessage(b.damage.error()));
            // Which file, and why, in full.
            item->setToolTip(kNote, Texts::errorMessage(b.damage));
            item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
        } else if (!b.hasSettings) {
            note = tr("Channels only");
        } else if (!b.hasChannels) {
            note = tr("Settings only");
        }
        item->setText(kNote, note);
        item->setToolTip(kDate, QDir::toNativeSeparators(QString::fromStdString(b.folder)));
    }
    if (current >= 0 && current < list_->topLevelItemCount())
        list_->setCurrentItem(list_->topLevelItem(current));
    for (int c = 0; c < kColumns; ++c)
        list_->resizeColumnToContents(c);
}

std::optional<BackupEntry> RestoreDialog::chosen() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = list_->indexOfTopLevelItem(selected.first());
    if (row < 0) return std::nullopt;
    const BackupEntry& b = backups_[static_cast<std::size_t>(row)];
    if (b.damaged()) return std::nullopt;
    return b;
}

void RestoreDialog::enableRestore() {
    restore_->setEnabled(chosen().has_value());
}

void RestoreDialog::setTexts() {
    setWindowTitle(tr("Restore a backup"));
    list_->setHeaderLabels({tr("Date"), QStringLiteral("TV"), QStringLiteral("RADIO"), tr("Note")});
    note_->setText(backups_.empty()
                       ? tr("No backups in %1.").arg(QDir::toNativeSeparators(root_))
                       : tr("The receiver's channels and settings, as they were kept before "
                            "each upload, newest first:"));
    restore_->setText(tr("&Restore"));
    cancel_->setText(tr("Cancel"));
    fillList();
}

void RestoreDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
