#include "ui/rotor_form.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/texts.h"

namespace qel {

RotorForm::RotorForm(const SatPosTable& table, QWidget* parent) : QDialog(parent) {
    setObjectName("RotorForm");
    rotorPos_ = new QComboBox(this);
    rotorPos_->setObjectName("RotorPos");
    rotorPos_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const SatPosEntry& e : table) {
        if (e.Number == 0) break;
        rotorPos_->addItem(Line(e));
    }
    setRotor_ = new QPushButton(this);
    setRotor_->setObjectName("SetRotor");
    setRotor_->setDefault(true);
    // Without a satellite there is no position to set.
    setRotor_->setEnabled(rotorPos_->count() > 0);
    exit_ = new QPushButton(this);
    exit_->setObjectName("Exitb");
    connect(setRotor_, &QPushButton::clicked, this, &RotorForm::SetRotor);
    connect(exit_, &QPushButton::clicked, this, &RotorForm::Exit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(setRotor_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotorPos_);
    layout->addLayout(buttons);
    SetTexts();
}

QString RotorForm::Line(const SatPosEntry& e) {
    return QStringLiteral("%1").arg(e.Number, 2) + ' ' + Texts::FromLatin1(e.Name.view()) + ' ' +
           Texts::FromLatin1(e.Position.view());
}

int RotorForm::Ask(const SatPosTable& table, QWidget* parent) {
    RotorForm form(table, parent);
    form.exec();
    return form.position();
}

void RotorForm::SetRotor() {
    if (rotorPos_->currentIndex() < 0) return;
    position_ = rotorPos_->currentIndex() + 1;
    accept();
}

void RotorForm::Exit() {
    position_ = -1;
    reject();
}

void RotorForm::SetTexts() {
    setWindowTitle(tr("QEL -  STAB Rotor settings"));
    setRotor_->setText(tr("Set"));
    exit_->setText(tr("Exit"));
}

void RotorForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) SetTexts();
    QDialog::changeEvent(event);
}

}  // namespace qel
