// The main list's state without its widgets: which list is shown, the selected row and
// the marked rows, the data row of the selected channel and the commands offered. The
// main window reports what the user selects and shows what this controller says; the
// editing commands move the selection through it.
#pragma once

#include <QObject>
#include <QString>

#include "app/session.h"
#include "listedit/list_view.h"
#include "listedit/undo.h"

namespace qel {

class ListController : public QObject {
    Q_OBJECT

public:
    explicit ListController(Session& session, QObject* parent = nullptr);

    // The shown list, the selected row (1-based; the blank row after the last channel is
    // channel count + 1) and the marked channels (0-based, ascending).
    ListSelection selection() const;
    int selectedRow() const { return row_; }
    const Marks& marks() const { return marks_; }
    // Rows of the shown list: its channels and the blank row.
    int rowCount() const;
    bool blankRowSelected() const { return row_ > channelCount(); }

    // What the user selected in the list (rows 1-based); nothing is shown back.
    void userSelected(int row, const Marks& marks);
    // The user chose a row: it becomes the list's remembered row.
    void rememberSelectedRow();
    // Selects `row` alone (clamped to the rows there are).
    void selectOnly(int row);
    // Selects `row` keeping `marks`.
    void select(int row, Marks marks);
    // Shows a selection as it was (undo and redo give these): its list, row and marks.
    void showSelection(const ListSelection& selection);
    // Switches between the TV and the RADIO list, each at its remembered row.
    void switchList();

    MainCommands commands() const;
    // The data row of the selected channel; empty on the blank row.
    QString dataRowText() const;

signals:
    // The rows of the shown list changed: redraw them, then the selection.
    void rowsChanged();
    // Show selection(): the selected row and the marks.
    void selectionShown();

private:
    int channelCount() const;
    void clamp();
    void onListsChanged(unsigned changes);

    Session& session_;
    int row_ = 1;
    Marks marks_;
};

}  // namespace qel
