// The find dialog: asks for the text to find in the row texts of the list.
#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qel {

class FindDialog : public QDialog {
    Q_OBJECT

public:
    explicit FindDialog(const QString& previous, QWidget* parent = nullptr);

    // Shows the dialog over `parent`: the text to find, or nothing when cancelled.
    static std::optional<QString> ask(const QString& previous, QWidget* parent);

    QLineEdit* text() const { return text_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();

    QLabel* prompt_;
    QLineEdit* text_;
    QPushButton* find_;
    QPushButton* exit_;
};

}  // namespace qel
