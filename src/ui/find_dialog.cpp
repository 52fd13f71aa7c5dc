#include "ui/find_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel {

FindDialog::FindDialog(const QString& previous, QWidget* parent) : QDialog(parent) {
    setObjectName("FindForm");
    label1_ = new QLabel(this);
    chName_ = new QLineEdit(previous, this);
    chName_->setObjectName("ChName");
    chName_->setMinimumWidth(240);
    label1_->setBuddy(chName_);
    findb_ = new QPushButton(this);
    findb_->setObjectName("Findb");
    findb_->setDefault(true);
    exitb_ = new QPushButton(this);
    exitb_->setObjectName("Exitb");
    connect(findb_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exitb_, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(label1_);
    row->addWidget(chName_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(findb_);
    buttons->addWidget(exitb_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setTexts();
    chName_->selectAll();
    chName_->setFocus();
}

std::optional<QString> FindDialog::ask(const QString& previous, QWidget* parent) {
    FindDialog form(previous, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.text()->text();
}

void FindDialog::setTexts() {
    setWindowTitle(tr("QEL -  Find channel"));
    label1_->setText(tr("Search for "));
    findb_->setText(tr("Find"));
    exitb_->setText(tr("Cancel"));
}

void FindDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
