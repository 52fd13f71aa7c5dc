// The buffer window: the holding list with its sorts, delete and clear, and in paste
// special mode the buttons that move or copy the marked entries into the main list.
#pragma once

#include <QAbstractListModel>
#include <QWidget>

#include "app/session.h"
#include "listedit/editing.h"

class QListView;
class QPushButton;

namespace qel {

class EditingController;
class MainForm;
class Prompter;

class BufferModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit BufferModel(Session& session, QObject* parent = nullptr)
        : QAbstractListModel(parent), s_(session) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void Refresh() {
        beginResetModel();
        endResetModel();
    }

private:
    Session& s_;
};

class BufferForm : public QWidget {
    Q_OBJECT

public:
    BufferForm(Session& session, EditingController& editing, MainForm& main, Prompter& prompter,
               QWidget* parent = nullptr);

    // Rebuilds the rows and selects `row` (1-based).
    void Fill_Buffer(int row);
    Marks marks() const;
    QListView* list() const { return list_; }
    BufferModel& model() const { return *model_; }

    void PasteMarked(bool removeFromBuffer);
    void Sort(int mode);
    void DeleteMarked();
    void Clear();

protected:
    void changeEvent(QEvent* event) override;

private:
    void SetTexts();
    void BackToListWhenEmpty();

    Session& s_;
    EditingController& editing_;
    MainForm& main_;
    Prompter& prompter_;
    BufferModel* model_;
    QListView* list_;
    QPushButton* pasteMove_;
    QPushButton* pasteCopy_;
    QPushButton* byName_;
    QPushButton* byFreq_;
    QPushButton* motorized_;
    QPushButton* clear_;
    QPushButton* delete_;
};

}  // namespace qel
