#include "ui/sort_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace qel {

namespace {

// The keys in the order the list offers them.
constexpr std::array<SortKey, 4> kKeys = {SortKey::Name, SortKey::Frequency, SortKey::ServiceId,
                                          SortKey::Satellite};

}  // namespace

SortDialog::SortDialog(const SortOptions& offered, QWidget* parent) : QDialog(parent) {
    setObjectName("SortForm");
    keyLabel_ = new QLabel(this);
    key_ = new QComboBox(this);
    key_->setObjectName("SortKey");
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        key_->addItem(QString());
    keyLabel_->setBuddy(key_);
    ascending_ = new QRadioButton(this);
    ascending_->setObjectName("Ascending");
    descending_ = new QRadioButton(this);
    descending_->setObjectName("Descending");
    keepHeaders_ = new QCheckBox(this);
    keepHeaders_->setObjectName("KeepHeaders");
    sort_ = new QPushButton(this);
    sort_->setObjectName("Sortb");
    sort_->setDefault(true);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("Exitb");
    connect(sort_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (kKeys[i] == offered.key) key_->setCurrentIndex(static_cast<int>(i));
    }
    (offered.descending ? descending_ : ascending_)->setChecked(true);
    keepHeaders_->setChecked(offered.keepHeaders);

    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(keyLabel_);
    keyRow->addWidget(key_, 1);
    auto* direction = new QHBoxLayout;
    direction->addWidget(ascending_);
    direction->addWidget(descending_);
    direction->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(sort_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(keyRow);
    layout->addLayout(direction);
    layout->addWidget(keepHeaders_);
    layout->addLayout(buttons);
    setTexts();
    key_->setFocus();
}

std::optional<SortOptions> SortDialog::ask(const SortOptions& offered, QWidget* parent) {
    SortDialog form(offered, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.options();
}

SortOptions SortDialog::options() const {
    SortOptions o;
    o.key = kKeys[static_cast<std::size_t>(std::max(key_->currentIndex(), 0))];
    o.descending = descending_->isChecked();
    o.keepHeaders = keepHeaders_->isChecked();
    return o;
}

void SortDialog::setTexts() {
    setWindowTitle(tr("QEL - Sort the list"));
    keyLabel_->setText(tr("Sort by"));
    key_->setItemText(0, tr("Name"));
    key_->setItemText(1, tr("Frequency and polarisation"));
    key_->setItemText(2, tr("Service id"));
    key_->setItemText(3, tr("Satellite"));
    ascending_->setText(tr("Ascending"));
    descending_->setText(tr("Descending"));
    keepHeaders_->setText(tr("Keep satellite headers in place"));
    sort_->setText(tr("Sort"));
    cancel_->setText(tr("Cancel"));
}

void SortDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
