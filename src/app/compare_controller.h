// "Compare with file..." without widgets: reads the other file (or takes the lists a download
// replaced), keeps the comparison with the loaded lists up to date as they change, and does
// what the compare window offers: take the other file's values over for chosen changed
// channels, put chosen channels only the other file holds into the buffer, show a channel of
// the loaded lists in the main list.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listedit/compare.h"

namespace qel {

class CompareController : public QObject {
    Q_OBJECT

public:
    CompareController(Session& session, ListController& list, EditingController& editing,
                      Prompter& prompter, FileChooser& chooser, QObject* parent = nullptr);

    // Asks for a channel file (any the program reads) and compares the loaded lists with it.
    void compareWithFile();
    // Compares with the file at `path`; a refused file is told and changes nothing. True when
    // the comparison is there.
    bool compareWithPath(const QString& path);
    // Compares with the lists the last download replaced, when they are kept. The loaded lists
    // count as the kind the document has (the receiver's, after a download).
    void compareWithListsBeforeDownload();
    // Compares with the lists as the last loaded file or download brought them: what changed
    // since. Taking a change over puts the channel back as it was.
    void compareWithListsAsOpened();

    // Whether a comparison is there.
    bool active() const { return active_; }
    // What the loaded lists are compared with.
    enum class Other { File, BeforeDownload, AsLoaded, AsDownloaded };
    Other against() const { return against_; }
    // The file's name, or the kept lists' name ("the list before the download", "the list as
    // loaded", "the list as downloaded") in the language in use.
    QString otherName() const;
    const ListComparison& comparison() const { return comparison_; }
    const TvRadioLists& other() const { return other_; }

    // The changed channels at these places of comparison().changed take the other file's
    // values, as one undoable step.
    void takeOver(const std::vector<std::size_t>& changed);
    // The channels at these places of comparison().onlyInSecond go to the end of the buffer,
    // as "Upgrade from file" puts its channels there; one undoable step.
    void putIntoBuffer(const std::vector<std::size_t>& onlyInSecond);
    // Selects a channel of the loaded lists in the main list, showing its list.
    void showInList(ListId list, std::size_t row);

signals:
    // A new comparison is there: the window opens on it.
    void opened();
    // The comparison was made again (the loaded lists changed, or another file was read).
    void comparisonChanged();
    // Channels went into the buffer: the Buffer tab opens.
    void bufferFilled();

private:
    void start(TvRadioLists other, FileKind kind, const QString& name, Other against);
    void recompare();

    Session& session_;
    ListController& list_;
    EditingController& editing_;
    Prompter& prompter_;
    FileChooser& chooser_;
    bool active_ = false;
    QString otherName_;
    Other against_ = Other::File;
    TvRadioLists other_;
    FileKind otherKind_ = FileKind::None;  // an FTA image's fields alone are compared with one
    ListComparison comparison_;
};

}  // namespace qel
