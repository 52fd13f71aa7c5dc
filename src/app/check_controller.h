// The list check's window logic without widgets: the findings of the lists as they are (kept
// up to date while the window is open), showing a finding's channel in the main list,
// "Remove duplicates" as one undoable step, and the question before lists with errors are
// saved as DVB98 records or sent to the receiver.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <vector>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listcheck/list_check.h"

namespace qel {

class CheckController : public QObject {
    Q_OBJECT

public:
    CheckController(Session& session, ListController& list, EditingController& editing,
                    Prompter& prompter, QObject* parent = nullptr);

    // The findings of the lists for the receiver they are going to: an FTA image's, or
    // DVB98 records. The loaded DVB98 settings give the LNB bands, the loaded font the
    // characters names can use.
    std::vector<Finding> check(FileKind target) const;

    // While watched (the window is open) the findings follow every change of the document.
    void setWatching(bool on);
    // Checks the lists as they are now, for their own kind.
    void refresh();
    const std::vector<Finding>& findings() const { return findings_; }
    // The lists hold no channel (nothing loaded, or an empty list): there is nothing to check.
    bool nothingToCheck() const;
    bool hasDuplicates() const;

    // The finding's message and level in the language of the windows.
    QString message(const Finding& finding) const;
    static QString levelText(FindingLevel level);

    // Shows the channel of finding `index` in the main list, selected alone.
    void showFinding(std::size_t index);

    // "Remove duplicates": in both lists the first of each group of equal channels stays; one
    // undoable step. The selection and the marks follow their channels (to the one kept, for
    // a channel removed).
    void removeDuplicates();

    enum class Purpose { Save, Upload };
    // Before the lists go to a DVB98 file or to the receiver: with error-level findings, and
    // unless the options turn the question off, asks (default No) naming their count and the
    // first one. True when the lists may go.
    bool mayWrite(FileKind target, Purpose purpose);

signals:
    void findingsChanged();

private:
    TextLanguage language() const;

    Session& session_;
    ListController& list_;
    EditingController& editing_;
    Prompter& prompter_;
    bool watching_ = false;
    std::vector<Finding> findings_;
};

}  // namespace qel
