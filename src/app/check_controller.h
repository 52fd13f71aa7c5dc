// The list check's window logic without widgets: the findings of the lists as they are (kept
// up to date while the window is open), showing a finding's channel in the main list,
// "Remove duplicates" as one undoable step, and the question before lists with errors are
// saved as DVB98 records or sent to the receiver. Beside the lists' own check: a
// satellites.xml the user names, which satellite each group of channels stands for
// (remembered per list), the warnings about channels without a transponder there, taking
// symbol rates and FEC over from it, and filling an FTA image's transponders from it.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listcheck/list_check.h"
#include "listcheck/satellite_check.h"

namespace qel {

class ConfigStore;

class CheckController : public QObject {
    Q_OBJECT

public:
    CheckController(Session& session, ListController& list, EditingController& editing,
                    Prompter& prompter, FileChooser* chooser = nullptr,
                    ConfigStore* store = nullptr, QObject* parent = nullptr);

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

    // Asks for a satellites.xml and reads it; a refused file is told and changes nothing.
    void chooseSatellitesFile();
    // Reads the satellites.xml at `path` (remembered for the next start). True when read.
    bool loadSatellitesFrom(const QString& path);
    // The file read, or null; its path.
    const SatellitesFile* satellites() const { return satellites_.get(); }
    const QString& satellitesPath() const { return satellitesPath_; }
    // The lists are an FTA image's.
    bool ftaImage() const { return session_.workspace().fileType() == FileKind::BIN; }
    // The satellite groups of the lists as they are now.
    std::vector<SatGroup> groups() const;
    // The satellite (tenths of a degree) a group stands for; remembered for the current list
    // file. Nothing takes the group out of the check.
    std::optional<int> assigned(const SatGroup& group) const;
    void assign(const SatGroup& group, std::optional<int> position);
    // A group as the window names it: the header's name, "DiSEqC port 2", "Antenna 3".
    static QString groupText(const SatGroup& group);

    // For the channels whose transponder differs from its one partner in the file only in
    // symbol rate or FEC: asks, then takes the file's values over as one undoable step.
    void takeOverFromSatellites();
    // An FTA image: fills the transponders of `antenna` (1-8) from the satellite assigned to
    // it, as one undoable step; refused with the counts when the image cannot hold them.
    void fillTransponders(int antenna);

signals:
    void findingsChanged();
    // Another satellites.xml was read, or the groups or their satellites changed.
    void satellitesChanged();

private:
    TextLanguage language() const;
    SatelliteCheckInput satelliteInput() const;
    void loadAssignment();
    void saveAssignment() const;

    Session& session_;
    ListController& list_;
    EditingController& editing_;
    Prompter& prompter_;
    FileChooser* chooser_;
    ConfigStore* store_;
    bool watching_ = false;
    std::vector<Finding> findings_;
    std::shared_ptr<const SatellitesFile> satellites_;
    QString satellitesPath_;
    SatAssignment assignment_;
    QString assignmentList_;  // the list file the assignment belongs to
};

}  // namespace qel
