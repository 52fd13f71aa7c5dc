// The dialog of "Order like": how the channels find their partners in the reference and where
// the channels without one go.
#pragma once

#include <QDialog>
#include <optional>

#include "listedit/reorder.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qel {

class ReorderDialog : public QDialog {
    Q_OBJECT

public:
    // Shows `offered` chosen.
    explicit ReorderDialog(const ReorderOptions& offered, QWidget* parent = nullptr);

    // Shows the dialog over `parent`: the choice, or nothing when cancelled.
    static std::optional<ReorderOptions> ask(const ReorderOptions& offered, QWidget* parent);

    // What the controls say now.
    ReorderOptions options() const;

    QRadioButton* byIds() const { return byIds_; }
    QRadioButton* byName() const { return byName_; }
    QRadioButton* restAtEnd() const { return restAtEnd_; }
    QRadioButton* restKept() const { return restKept_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();

    QGroupBox* matchBox_;
    QRadioButton* byIds_;
    QRadioButton* byName_;
    QGroupBox* restBox_;
    QRadioButton* restAtEnd_;
    QRadioButton* restKept_;
    QPushButton* order_;
    QPushButton* cancel_;
};

}  // namespace qel
