// The compare window, "QEL - Compare": the channels only in the loaded lists, only in the
// other file, changed (each differing field with both values) and moved, a filter per kind
// with its count, how many differences there are (or that there are none); puts chosen channels
// into the buffer, takes chosen changes over, and shows an activated channel in the main list. A
// view over CompareController.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "app/compare_controller.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

class CompareWindow : public QWidget {
    Q_OBJECT

public:
    // The kinds, in the order the window lists them.
    enum Kind { kOnlyInList, kOnlyInFile, kChanged, kMoved };
    static constexpr int kKinds = 4;

    explicit CompareWindow(CompareController& compare, QWidget* parent = nullptr);

    QTreeWidget* entries() const { return entries_; }
    QCheckBox* filter(Kind kind) const { return filters_[static_cast<std::size_t>(kind)]; }
    QPushButton* putButton() const { return put_; }
    QPushButton* takeOverButton() const { return takeOver_; }
    QLabel* summary() const { return summary_; }

    // The entry of `kind` at `place` in its kind's list (a top-level item), or null.
    QTreeWidgetItem* entry(Kind kind, std::size_t place) const;
    // The places (in their kinds' lists) of the selected entries of `kind` that the filters
    // show; a selected field line counts for its changed channel.
    std::vector<std::size_t> selected(Kind kind) const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    // A closed window is filled again when it shows: edits meanwhile cost no redraw.
    void refill();
    void setTexts();
    void applyFilters();
    void updateButtons();
    void activated(QTreeWidgetItem* item);

    CompareController& compare_;
    std::array<QCheckBox*, kKinds> filters_{};
    QTreeWidget* entries_;
    QPushButton* put_;
    QPushButton* takeOver_;
    QPushButton* close_;
    QLabel* summary_;
    bool stale_ = false;
};

}  // namespace qel
