// The STAB rotor dialog: one line per satellite of the position table; the chosen
// line's number (from 1) is the rotor position.
#pragma once

#include <QDialog>

#include "model/sat_pos.h"

class QComboBox;
class QPushButton;

namespace qel {

class RotorDialog : public QDialog {
    Q_OBJECT

public:
    // `current`: the position the header has (1-based line), preselected; 0 for none.
    explicit RotorDialog(const SatPosTable& table, int current = 0, QWidget* parent = nullptr);

    // Shows the dialog over `parent`; the position chosen, or -1 for cancel.
    static int ask(const SatPosTable& table, int current, QWidget* parent);

    // The line of a table entry: number in two places, name, orbital position.
    static QString lineOf(const SatPosEntry& entry);

    int position() const { return position_; }
    QComboBox* lines() const { return rotorPos_; }
    void choose();
    void cancel();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();

    QComboBox* rotorPos_;
    QPushButton* setRotor_;
    QPushButton* exit_;
    int position_ = -1;
};

}  // namespace qel
