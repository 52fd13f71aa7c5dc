// The serial window's logic without widgets: the port opened while the window is open, the
// connection mode and its speed, the fields the window shows, the transfers' questions and
// their outcome marks, and the wait for a quiet line after one. The transfer runs on the
// runner's thread; how each one ends (its marks, messages and what the document takes from
// it) is its finisher's (app/serial_finishers.h), applied here, on the windows' thread.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/prompter.h"
#include "app/serial_finishers.h"
#include "app/session.h"
#include "app/transfer_runner.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/picture.h"
#include "serial/receiver_backup.h"
#include "serial/timing.h"
#include "serial/upload.h"
#include "serial/upload_request.h"

namespace qel {

// The outcome marks (Mark, kChannels, ...) are TransferMarks'.
class SerialController : public QObject, public TransferMarks, private TransferQuestions {
    Q_OBJECT

public:
    enum class Mode { Dvb98 = 0, Fta = 1 };
    // The parts a transfer moves, as the window's choices say (a download moves only the
    // channels and the settings).
    using Parts = UploadParts;

    SerialController(Session& session, Prompter& prompter, QObject* parent = nullptr);
    ~SerialController() override;

    // The line the transfers use: the serial port (TransferRunner::serialPorts()) unless
    // another is given, in tests a simulated receiver. It must outlive the controller.
    void setLinkOpener(LinkOpener& opener);
    void setTiming(const Timing& timing) { timing_ = timing; }

    // The serial window opens: the port is opened again, the fields filled and the marks of
    // an earlier window hidden. Until stop, the mode, the speed and the fields follow the
    // document: another file loaded meanwhile sets them as opening the window would, and
    // hides the marks of the transfers of the file before.
    void start();
    // The serial window closes: the port too.
    void stop();

    // The mode chosen or followed: the channels go up in its dialect (DVB98 records, or an FTA
    // image through the loader). An FTA receiver takes only the image: in FTA mode nothing is
    // downloaded and an upload sends the channels alone.
    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    // How the channels go up in the mode shown; None when nothing is loaded.
    FileKind channelKind() const;
    static int baudOf(Mode mode) { return mode == Mode::Dvb98 ? kDvb98Speed : kLoaderSpeed; }
    static QString speedText(Mode mode);

    // The set of a two-set system font that goes up (0 or 1), and the picture slot (1 or 2):
    // kept while the program runs, so a window opened again shows them as they were chosen.
    void setSystemFontSet(int set) { systemFontSet_ = set == 1 ? 1 : 0; }
    int systemFontSet() const { return systemFontSet_; }
    void setPictureSlot(int slot) { pictureSlot_ = slot == 2 ? 2 : 1; }
    int pictureSlot() const { return pictureSlot_; }

    // "Vandu --> PC": the channels and the settings, as chosen (DVB98 mode only).
    void download(const Parts& parts);
    // "PC --> Vandu": the channels (DVB98 records, or an FTA image through the loader) and the
    // DVB98 settings, as chosen; with the backup and the check the options ask for. The
    // chosen set of the system font and the teletext font follow when chosen.
    void upload(const Parts& chosen);
    // "Picture Upload": a boot picture file (33718 bytes) into the chosen slot.
    void uploadPicture(const std::string& file);
    // "Firmware upgrade": the firmware file through the flash routine, erasing the whole flash
    // or only the firmware's part. Refused with a message before any byte when the routine or
    // the file is missing or the file is empty.
    void upgradeFirmware(const QString& firmwarePath, bool eraseAll);
    // Where the flash routine is looked for (by default the places of supplied files).
    void setFlashRoutinePlaces(const QStringList& places) { routinePlaces_ = places; }
    // Where the backups before uploads go: a folder of their own each, named by the time.
    void setBackupRoot(const QString& folder) { backupRoot_ = folder; }
    const QString& backupRoot() const { return backupRoot_; }
    // The backups under the backup root, newest first.
    std::vector<BackupEntry> backups() const;
    // "Restore…": the backup in `backup.folder` goes back into the receiver as an upload sends
    // channels and settings, with the backup of what the receiver holds first and the
    // read-back as the options ask for, once the user has said yes to the question naming its
    // date. DVB98 mode only: an FTA receiver keeps no backup. The backup's own files go up,
    // not the document's lists, which stay as they are. A backup that cannot be read back
    // whole is refused with a message before any byte is sent.
    void restore(const BackupEntry& backup);
    // The folder that holds what the receiver held before the last transfer, when that was an
    // upload that kept it; empty otherwise.
    const QString& lastBackup() const { return lastBackup_; }
    // Asked before an upload that sends the channels; false stops it before any byte.
    void setWriteCheck(std::function<bool()> mayWrite) { mayWrite_ = std::move(mayWrite); }
    // Stops a running transfer (the lists and settings stay as they were), or the wait for
    // the receiver to fall quiet after one.
    void cancel();

    // A transfer runs: the document must not change under it.
    bool busy() const { return busy_; }
    // After a cancelled or failed transfer: the receiver may still be sending, and the next
    // transfer waits until it has fallen quiet.
    bool settling() const { return settling_; }
    bool portOpen() const { return portOpen_; }
    // Why the port could not be opened, and what to do; empty while it is open.
    const QString& portProblem() const { return portProblem_; }
    // The status line. While an upload backs the receiver up or reads a part back, it names
    // that phase rather than the download steps it is made of.
    const QString& status() const { return status_; }
    StatusColour statusColour() const { return statusColour_; }
    QString portText() const;
    Mark mark(int index) const { return marks_[static_cast<std::size_t>(index)]; }

signals:
    void statusChanged(const QString& text);
    void statusColourChanged(qel::StatusColour colour);
    // What the receiver held was kept in `folder` before an upload (empty: nothing kept).
    void backupKept(const QString& folder);
    void bytesChanged(const QString& text);
    void channelsChanged(const QString& text);
    void speedChanged(const QString& text);
    void modeChanged(Mode mode);
    void marksChanged();
    // Bytes moved of the current block; (0, 0) when nothing moves.
    void progress(qint64 done, qint64 total);
    // The port opened (the transfer groups may be used) or not.
    void portChanged(bool open);
    void busyChanged(bool busy);
    void settlingChanged(bool settling);
    // New lists came from the receiver: shown from row 1, with a new history.
    void channelsDownloaded();

private:
    void setStatus(const QString& text);
    void setStatusColour(StatusColour colour);
    void setBytes(const QString& text);
    void setChannels(const QString& text);
    void setBusy(bool busy);
    void setMark(int index, Mark mark);
    void hideMarks();
    // The status texts of the running transfer, and its phase: shown as the phase says.
    void showTransferStatus(const QString& text);
    void enterPhase(TransferPhase phase);
    // The document the window follows: its mode, its bytes used (from the lists) and the
    // file it came from, as opening the window takes them.
    void adoptDocument();
    // The document changed: another one is adopted with the marks hidden; the same one has
    // its counts shown again.
    void followDocument();
    void connectRunner();
    // What the runner asks, answered here.
    TransferQuestions& questions() { return *this; }
    bool confirm(Confirmation which) override;
    bool keepBackup(const std::string& channelImage, const std::string& settingsBlock) override;
    // Applies how a transfer ended: what the document receives, the marks, messages, counts
    // and status.
    void finish(TransferEnding ending);
    // What to check when the receiver does not answer, naming the port and the mode.
    QString silenceHint() const;
    // After a transfer: the bytes and channels fields as they are at rest.
    void showCounts();
    // Runs `job` on the transfer thread; `done` follows on this thread when it has ended.
    bool startTransfer(std::function<void(Link&, TransferObserver&)> job,
                       std::function<void()> done);
    // Runs an upload of `request`; `finisher` says how it ended.
    void startUpload(UploadRequest request,
                     std::function<TransferEnding(const UploadResult&, const QString&)> finisher);
    // Waits on the transfer thread until the line has been quiet for a moment.
    void settle();
    void portOpened(bool ok);
    // The device and the port as the options name it ("/dev/ttyS0 (COM 1)").
    QString serialDeviceText() const;

    Session& session_;
    Prompter& prompter_;
    std::unique_ptr<TransferRunner> runner_;
    Timing timing_;
    Mode mode_ = Mode::Dvb98;
    // Between start and stop: the window is open and follows the document.
    bool started_ = false;
    // The document followed: its file and kind.
    QString followedFile_;
    FileKind followedKind_ = FileKind::None;
    // The bytes used came from the receiver (a transfer), not from the lists.
    bool bytesFromReceiver_ = false;
    TransferPhase phase_ = TransferPhase::Parts;
    // The last status text of the running transfer, shown again when its phase ends.
    QString transferStatus_;
    bool busy_ = false;
    bool settling_ = false;
    bool portOpen_ = false;
    QString portProblem_;
    QString status_;
    // The status of the transfer that ended, shown again once the line is quiet.
    QString statusBeforeSettling_;
    // The bytes used, as the field shows it at rest: the receiver's channel data size, or
    // the lists' own when nothing has come from the receiver yet.
    QString bytesUsed_;
    StatusColour statusColour_ = StatusColour::Normal;
    std::array<Mark, kMarks> marks_{};
    std::function<void()> whenDone_;
    // The messages of the transfer that is ending, told once it has ended.
    std::vector<TransferMessage> messages_;
    // The transfer that ended may have left the receiver sending.
    bool settleAfter_ = false;
    bool uploading_ = false;
    int systemFontSet_ = 0;
    int pictureSlot_ = 1;
    QString backupRoot_;
    QStringList routinePlaces_;
    QString lastBackup_;
    std::function<bool()> mayWrite_;
};

}  // namespace qel
