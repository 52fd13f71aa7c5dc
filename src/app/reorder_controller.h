// "Order like…" without widgets: asks for the reference (a channel file of any format the
// program reads, or a file of names one a line), asks how to match, puts the shown list into
// the reference's order as one undoable step and tells how many channels found a partner.
#pragma once

#include <QObject>
#include <QString>

#include "app/editing_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listedit/reorder.h"

namespace qel {

class ReorderController : public QObject {
    Q_OBJECT

public:
    ReorderController(Session& session, EditingController& editing, Prompter& prompter,
                      FileChooser& chooser, QObject* parent = nullptr);

    // Asks for the reference file, then orders like it.
    void orderLikeFile();
    // Orders the shown list like the file at `path`; a refused file is told and changes
    // nothing, as does a cancelled choice. True when the order was applied (or was already
    // the reference's).
    bool orderLikePath(const QString& path);
    // The choice of the dialog, offered again the next time in the session.
    const ReorderOptions& choice() const { return choice_; }

    // The report the user reads afterwards.
    static QString reportText(const ReorderReport& report);

private:
    Session& session_;
    EditingController& editing_;
    Prompter& prompter_;
    FileChooser& chooser_;
    ReorderOptions choice_;
};

}  // namespace qel
