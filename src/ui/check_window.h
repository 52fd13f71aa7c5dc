// The list check's window: a table of the findings (level, list, row, name, field,
// message) that follows the lists while it is open; activating a row shows that channel in
// the main list; "Remove duplicates" removes all but the first of each group of duplicates.
#pragma once

#include <QWidget>

#include "app/check_controller.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace qel {

class CheckWindow : public QWidget {
    Q_OBJECT

public:
    enum Column { kLevel, kList, kRow, kName, kField, kMessage, kColumns };

    explicit CheckWindow(CheckController& check, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QPushButton* removeDuplicatesButton() const { return removeDuplicates_; }
    QLabel* summary() const { return summary_; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fill();
    void setTexts();

    CheckController& check_;
    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* removeDuplicates_;
    QPushButton* close_;
};

}  // namespace qel
