// The sort dialog: the key, the direction and whether the satellite headers keep their places.
#pragma once

#include <QDialog>
#include <optional>

#include "listedit/sort.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qel {

class SortDialog : public QDialog {
    Q_OBJECT

public:
    // Shows `offered` chosen.
    explicit SortDialog(const SortOptions& offered, QWidget* parent = nullptr);

    // Shows the dialog over `parent`: the sort chosen, or nothing when cancelled.
    static std::optional<SortOptions> ask(const SortOptions& offered, QWidget* parent);

    // What the controls say now.
    SortOptions options() const;

    QComboBox* key() const { return key_; }
    QRadioButton* descending() const { return descending_; }
    QCheckBox* keepHeaders() const { return keepHeaders_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();

    QLabel* keyLabel_;
    QComboBox* key_;
    QRadioButton* ascending_;
    QRadioButton* descending_;
    QCheckBox* keepHeaders_;
    QPushButton* sort_;
    QPushButton* cancel_;
};

}  // namespace qel
