// The serial window's logic without widgets: the port opened while the window is open, the
// connection mode and its speed, the fields the window shows, and the download and the
// upload with their questions, messages and outcome marks. The transfer runs on the runner's
// thread; the document changes here, on the windows' thread, once it has ended.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "app/prompter.h"
#include "app/session.h"
#include "app/transfer_runner.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/picture.h"
#include "serial/timing.h"
#include "serial/upload.h"

namespace qel {

class SerialController : public QObject {
    Q_OBJECT

public:
    enum class Mode { Dvb98 = 0, Fta = 1 };
    enum class Mark { Hidden, Ok, Ko };
    // The outcome marks: channels, settings, system font, teletext font.
    static constexpr int kMarks = 4;

    SerialController(Session& session, Prompter& prompter, QObject* parent = nullptr);
    ~SerialController() override;

    // The line the transfers use: the serial port, or in tests a simulated receiver.
    void setLinkFactory(TransferRunner::LinkFactory factory);
    void setTiming(const Timing& timing) { timing_ = timing; }

    // The serial window opens: the port is opened again and the fields filled.
    void start();
    // The serial window closes: the port too.
    void stop();

    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    static int baudOf(Mode mode) { return mode == Mode::Dvb98 ? 38400 : 19200; }
    static QString speedText(Mode mode);

    // "Vandu --> PC": the channels and the settings, as chosen.
    void download(bool channels, bool settings);
    // "PC --> Vandu": the channels (DVB98 records, or an FTA image through the loader) and the
    // DVB98 settings, as chosen; with the backup and the check the options ask for.
    // The system font's set (0 or 1) and the teletext font follow when chosen.
    void upload(bool channels, bool settings, bool systemFont = false, int systemFontSet = 0,
                bool teletextFont = false);
    // "Picture Upload": a boot picture file (33718 bytes) into slot 1 or 2.
    void uploadPicture(const std::string& file, int slot);
    // "Firmware upgrade": the firmware file through the flash routine, erasing the whole flash
    // or only the firmware's part. Refused with a message before any byte when the routine or
    // the file is missing or the file is empty.
    void upgradeFirmware(const QString& firmwarePath, bool eraseAll);
    // Where the flash routine is looked for (by default the places of supplied files).
    void setFlashRoutinePlaces(const QStringList& places) { routinePlaces_ = places; }
    // Where the backups before uploads go: a folder of their own each, named by the time.
    void setBackupRoot(const QString& folder) { backupRoot_ = folder; }
    // The folder that holds what the receiver held before the last upload; empty if none.
    const QString& lastBackup() const { return lastBackup_; }
    // Stops a running transfer; the lists and settings stay as they were.
    void cancel();

    bool busy() const { return busy_; }
    bool portOpen() const { return portOpen_; }
    const QString& advise() const { return advise_; }
    StatusColour adviseColour() const { return adviseColour_; }
    const QString& bytesText() const { return bytes_; }
    const QString& channelsText() const { return channels_; }
    QString portText() const;
    Mark mark(int index) const { return marks_[static_cast<std::size_t>(index)]; }

signals:
    void adviseChanged(const QString& text);
    void adviseColourChanged(qel::StatusColour colour);
    // What the receiver held was kept in `folder` before an upload (empty: nothing kept).
    void backupKept(const QString& folder);
    void bytesChanged(const QString& text);
    void channelsChanged(const QString& text);
    void speedChanged(const QString& text);
    void modeChanged(Mode mode);
    void marksChanged();
    void progress(qint64 done, qint64 total);
    // The port opened (the transfer groups may be used) or not.
    void portChanged(bool open);
    void busyChanged(bool busy);
    // New lists came from the receiver: shown from row 1, with a new history.
    void channelsDownloaded();

private:
    void setAdvise(const QString& text);
    void setBytes(const QString& text);
    void setChannels(const QString& text);
    void setBusy(bool busy);
    void connectRunner();
    bool confirm(Confirmation which);
    bool keepBackup(const std::string& channelImage, const std::string& settingsBlock);
    void finishDownload(const DownloadResult& result);
    void tellFailure(const PartOutcome& part);
    void finishUpload(const UploadResult& result);
    void finishPicture(const PictureResult& result);
    void finishFirmware(const FirmwareResult& result, const QString& bytesBefore);
    void tellUploadFailure(const PartOutcome& part, const UploadResult& result);
    // Runs `job` on the transfer thread; `done` follows on this thread when it has ended.
    bool startTransfer(std::function<void(Link&, TransferObserver&)> job,
                       std::function<void()> done);

    Session& session_;
    Prompter& prompter_;
    std::unique_ptr<TransferRunner> runner_;
    Timing timing_;
    Mode mode_ = Mode::Dvb98;
    bool busy_ = false;
    bool portOpen_ = false;
    QString advise_;
    QString bytes_;
    QString channels_;
    StatusColour adviseColour_ = StatusColour::Normal;
    std::array<Mark, kMarks> marks_{};
    std::function<void()> whenDone_;
    bool uploading_ = false;
    QString backupRoot_;
    QStringList routinePlaces_;
    QString lastBackup_;
};

}  // namespace qel
