// The buffer window: the holding list with its sorts, delete and clear, and in paste
// special mode the buttons that move or copy the marked entries into the main list.
#pragma once

#include <QAbstractListModel>
#include <QWidget>

#include "app/editing_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listedit/editing.h"

class QListView;
class QPushButton;

namespace qel {

class BufferModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit BufferModel(Session& session, QObject* parent = nullptr)
        : QAbstractListModel(parent), session_(session) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void refresh() {
        beginResetModel();
        endResetModel();
    }

private:
    Session& session_;
};

class BufferWindow : public QWidget {
    Q_OBJECT

public:
    BufferWindow(Session& session, EditingController& editing, Prompter& prompter,
                 QWidget* parent = nullptr);

    // Rebuilds the rows and selects `row` (1-based).
    void fillBuffer(int row);
    Marks marks() const;
    QListView* list() const { return list_; }
    BufferModel& model() const { return *model_; }

    void pasteMarked(bool removeFromBuffer);
    void sort(int mode);
    void deleteMarked();
    void clear();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The window in parts: the list and the buttons, what the buttons do, their places.
    void createWidgets();
    void connectButtons();
    void layOut();
    void setTexts();

    Session& session_;
    EditingController& editing_;
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
