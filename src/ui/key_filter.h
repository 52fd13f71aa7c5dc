// Key filters for the hex and decimal boxes: typed characters pass hexKeyFilter
// (upper-cased hex digits) or decimalKeyFilter (decimal digits); editing keys pass as they are.
// Entering a box with the caret at its start selects the whole text.
#pragma once

#include <QObject>

class QLineEdit;

namespace qel {

class KeyFilter : public QObject {
    Q_OBJECT

public:
    enum class Kind { Hex, Decimal, SelectOnly };

    // Installs a filter of `kind` on `edit`; the filter belongs to the box.
    static void install(QLineEdit* edit, Kind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyFilter(QObject* parent, Kind kind) : QObject(parent), kind_(kind) {}
    Kind kind_;
};

}  // namespace qel
