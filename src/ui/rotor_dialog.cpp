#include "ui/rotor_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/texts.h"

namespace qel {

RotorDialog::RotorDialog(const SatPosTable& table, int current, QWidget* parent) : QDialog(parent) {
    setObjectName("RotorForm");
    rotorPos_ = new QComboBox(this);
    rotorPos_->setObjectName("RotorPos");
    rotorPos_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const SatPosEntry& e : table) {
        if (e.number == 0) break;
        rotorPos_->addItem(lineOf(e));
    }
    // The header's own position is offered first.
    if (current >= 1 && current <= rotorPos_->count()) rotorPos_->setCurrentIndex(current - 1);
    setRotor_ = new QPushButton(this);
    setRotor_->setObjectName("SetRotor");
    setRotor_->setDefault(true);
    // Without a satellite there is no position to set.
    setRotor_->setEnabled(rotorPos_->count() > 0);
    exit_ = new QPushButton(this);
    exit_->setObjectName("Exitb");
    connect(setRotor_, &QPushButton::clicked, this, &RotorDialog::choose);
    connect(exit_, &QPushButton::clicked, this, &RotorDialog::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(setRotor_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotorPos_);
    layout->addLayout(buttons);
    setTexts();
}

QString RotorDialog::lineOf(const SatPosEntry& e) {
    return QStringLiteral("%1").arg(e.number, 2) + ' ' + Texts::fromLatin1(e.name.view()) + ' ' +
           Texts::fromLatin1(e.position.view());
}

int RotorDialog::ask(const SatPosTable& table, int current, QWidget* parent) {
    RotorDialog form(table, current, parent);
    form.exec();
    return form.position();
}

void RotorDialog::choose() {
    if (rotorPos_->currentIndex() < 0) return;
    position_ = rotorPos_->currentIndex() + 1;
    accept();
}

void RotorDialog::cancel() {
    position_ = -1;
    reject();
}

void RotorDialog::setTexts() {
    setWindowTitle(tr("QEL -  STAB Rotor settings"));
    setRotor_->setText(tr("Set"));
    exit_->setText(tr("Exit"));
    // Wide enough for its whole title.
    const int title = fontMetrics().horizontalAdvance(windowTitle()) + 120;
    setMinimumWidth(std::max(title, rotorPos_->sizeHint().width() + 40));
}

void RotorDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
