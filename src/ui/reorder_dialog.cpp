#include "ui/reorder_dialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qel {

namespace {

// Two choices in a box of their own, so that each pair is exclusive by itself.
QGroupBox* choiceBox(QWidget* parent, QRadioButton* first, QRadioButton* second) {
    auto* box = new QGroupBox(parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(first);
    layout->addWidget(second);
    return box;
}

QRadioButton* radio(QWidget* parent, const char* name) {
    auto* button = new QRadioButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

ReorderDialog::ReorderDialog(const ReorderOptions& offered, QWidget* parent) : QDialog(parent) {
    setObjectName("ReorderForm");
    byIds_ = radio(this, "ByIds");
    byName_ = radio(this, "ByName");
    matchBox_ = choiceBox(this, byIds_, byName_);
    restAtEnd_ = radio(this, "RestAtEnd");
    restKept_ = radio(this, "RestKept");
    restBox_ = choiceBox(this, restAtEnd_, restKept_);
    order_ = new QPushButton(this);
    order_->setObjectName("Orderb");
    order_->setDefault(true);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("Exitb");
    connect(order_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    (offered.match == ReorderMatch::NameOnly ? byName_ : byIds_)->setChecked(true);
    (offered.rest == ReorderRest::Keep ? restKept_ : restAtEnd_)->setChecked(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(order_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(matchBox_);
    layout->addWidget(restBox_);
    layout->addLayout(buttons);
    setTexts();
}

std::optional<ReorderOptions> ReorderDialog::ask(const ReorderOptions& offered, QWidget* parent) {
    ReorderDialog form(offered, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.options();
}

ReorderOptions ReorderDialog::options() const {
    return {byName_->isChecked() ? ReorderMatch::NameOnly : ReorderMatch::IdsThenName,
            restKept_->isChecked() ? ReorderRest::Keep : ReorderRest::End};
}

void ReorderDialog::setTexts() {
    setWindowTitle(tr("QEL - Order like another list"));
    matchBox_->setTitle(tr("Find each channel in the reference by"));
    byIds_->setText(tr("Network, transport stream and service ids, then name"));
    byName_->setText(tr("Name only"));
    restBox_->setTitle(tr("Channels not in the reference"));
    restAtEnd_->setText(tr("Go after the others"));
    restKept_->setText(tr("Keep their places"));
    order_->setText(tr("Order"));
    cancel_->setText(tr("Cancel"));
}

void ReorderDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
