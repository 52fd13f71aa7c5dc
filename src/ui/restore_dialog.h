// "Restore…": the backups kept before uploads, newest first, with their date and their TV and
// RADIO channels; a damaged one is listed but cannot be chosen.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "serial/receiver_backup.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace qel {

class RestoreDialog : public QDialog {
    Q_OBJECT

public:
    // `backups` in the order shown (listReceiverBackups gives them newest first); `root` is
    // where they are kept, named when there are none.
    RestoreDialog(std::vector<BackupEntry> backups, const QString& root, QWidget* parent = nullptr);

    // The backup chosen now; nothing when none (or a damaged one) is selected.
    std::optional<BackupEntry> chosen() const;

    QTreeWidget* list() const { return list_; }
    QPushButton* restoreButton() const { return restore_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* note() const { return note_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();
    void fillList();
    void enableRestore();

    std::vector<BackupEntry> backups_;
    QString root_;
    QLabel* note_;
    QTreeWidget* list_;
    QDialogButtonBox* buttons_;
    // Buttons of their own: a standard button's text would follow the language switch as Qt
    // names it.
    QPushButton* restore_;
    QPushButton* cancel_;
};

}  // namespace qel
