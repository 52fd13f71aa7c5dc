// The list check's window: a table of the findings (level, list, row, name, field,
// message) that follows the lists while it is open; activating a row shows that channel in
// the main list; "Remove duplicates" removes all but the first of each group of duplicates.
// Below it, the check against a satellites.xml: the file, the satellite each group of
// channels stands for, taking symbol rates over and filling an FTA image's transponders.
#pragma once

#include <QWidget>
#include <vector>

#include "app/check_controller.h"

class QComboBox;
class QGroupBox;
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
    // Shows or hides the satellites.xml part; shown by itself once a file is read.
    QPushButton* showSatellitesButton() const { return showSatellites_; }
    QPushButton* chooseSatellitesButton() const { return chooseSatellites_; }
    QLabel* satellitesLabel() const { return satellitesLabel_; }
    // One row per satellite group: its name, and the satellite chosen for it.
    QTableWidget* assignments() const { return assignments_; }
    QComboBox* satelliteChoice(int row) const;
    QPushButton* takeOverButton() const { return takeOver_; }
    QPushButton* fillButton() const { return fill_; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fill();
    void setTexts();
    // `always` rebuilds the choices even when the groups and the file are the same.
    void fillSatellites(bool always = false);
    void fillAssignments(bool always);
    void updateSatelliteButtons();

    CheckController& check_;
    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* removeDuplicates_;
    QPushButton* close_;
    QPushButton* showSatellites_;
    QGroupBox* satellitesBox_;
    QPushButton* chooseSatellites_;
    QLabel* satellitesLabel_;
    QTableWidget* assignments_;
    QPushButton* takeOver_;
    QPushButton* fill_;
    std::vector<SatGroup> shownGroups_;
    const SatellitesFile* shownFile_ = nullptr;
};

}  // namespace qel
