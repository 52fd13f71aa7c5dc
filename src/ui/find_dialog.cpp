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
    prompt_ = new QLabel(this);
    text_ = new QLineEdit(previous, this);
    text_->setObjectName("ChName");
    text_->setMinimumWidth(240);
    prompt_->setBuddy(text_);
    find_ = new QPushButton(this);
    find_->setObjectName("Findb");
    find_->setDefault(true);
    exit_ = new QPushButton(this);
    exit_->setObjectName("Exitb");
    connect(find_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(prompt_);
    row->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(find_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setTexts();
    text_->selectAll();
    text_->setFocus();
}

std::optional<QString> FindDialog::ask(const QString& previous, QWidget* parent) {
    FindDialog form(previous, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.text()->text();
}

void FindDialog::setTexts() {
    setWindowTitle(tr("QEL -  Find channel"));
    prompt_->setText(tr("Search for "));
    find_->setText(tr("Find"));
    exit_->setText(tr("Cancel"));
}

void FindDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
