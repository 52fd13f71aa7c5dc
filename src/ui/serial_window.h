// The serial window: the connection (port, mode, speed), the bytes and channels fields, the
// transfer choices with their outcome marks, the download and the upload, and Cancel with a
// progress bar while a transfer runs; the font uploads with the upload, and the boot picture
// with its preview. The firmware controls wait disabled for their transfer. Everything it does goes
// through the serial controller. Its size is fixed, with room for every line it may show, and
// it stays whole on the screen; in FTA mode it offers only what the FTA loader takes.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/serial_controller.h"
#include "app/session.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qel {

struct PreparedPicture;

// Shows the picture as the receiver will show it and asks to send it: the picture dialog, or
// in tests a scripted answer.
class PictureApprover {
public:
    virtual ~PictureApprover() = default;
    virtual bool approve(const PreparedPicture& picture, const QString& path) = 0;
};

// Chooses the backup to restore among those listed: the restore dialog, or in tests a
// scripted choice. Nothing: none chosen.
class BackupPicker {
public:
    virtual ~BackupPicker() = default;
    virtual std::optional<BackupEntry> pick(const std::vector<BackupEntry>& backups,
                                            const QString& root) = 0;
};

class SerialWindow : public QWidget {
    Q_OBJECT

public:
    SerialWindow(SerialController& serial, Session& session, Prompter& prompter,
                 FileChooser& chooser, QWidget* parent = nullptr);
    ~SerialWindow() override;

    QPushButton* downloadButton() const { return download_; }
    QPushButton* uploadButton() const { return upload_; }
    QPushButton* pictureButton() const { return uploadPicture_; }
    QPushButton* restoreButton() const { return restore_; }

    // Who approves the picture before it goes up: the picture dialog unless another is
    // given. It must outlive the window.
    void setPictureApprover(PictureApprover& approver) { approver_ = &approver; }
    // Who chooses the backup to restore: the restore dialog unless another is given. It must
    // outlive the window.
    void setBackupPicker(BackupPicker& picker) { picker_ = &picker; }

    // "Picture Upload": a picture chosen, prepared, shown and sent into the chosen slot.
    void uploadPicture();
    // "Firmware upgrade": a firmware file chosen, the replacement confirmed, the upgrade run.
    void upgradeFirmware();
    // "Restore…": a backup chosen among those kept, then restored (DVB98 mode only).
    void restore();
    QPushButton* cancelButton() const { return cancel_; }
    // Shown while the lists a download replaced are kept.
    QPushButton* compareBeforeButton() const { return compareBefore_; }

signals:
    // "Compare with the list before the download" was pressed.
    void compareBeforeDownloadRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class DialogApprover;
    class DialogPicker;

    // The constructor's parts: the widgets of each group, the window's layout, the wiring.
    void createStatusLines();
    void createConnection();
    void createTransfers();
    void createFirmware();
    void createProgress();
    void layOutTransfers();
    void layOutWindow();
    void connectActions();
    void connectController();
    SerialController::Parts chosenParts() const;
    void showProgress(qint64 done, qint64 total);
    void showPortProblem();
    void setTexts();
    void showMarks();
    void enableGroups();
    void showStatusColour(StatusColour colour);
    void showBackup(const QString& folder);
    // The transfer choices the mode offers, and the second font set when the font has one.
    void showChoices();
    // The window's size, fixed for what its texts need, and its place, whole on its screen.
    void fixSize();
    void keepOnScreen();

    SerialController& serial_;
    Session& session_;
    Prompter& prompter_;
    FileChooser& chooser_;
    QLabel* status_;
    QWidget* notes_;  // the backup note or the port note: room for either
    QLabel* backup_;  // where the last backup before an upload went
    QPushButton* compareBefore_;
    QLabel* portProblem_;    // why the port did not open, and what to do
    QGroupBox* connection_;  // Frame2
    QLabel* portLabel_;
    QLabel* port_;
    QLabel* speedLabel_;
    QLabel* speed_;
    QLabel* modeLabel_;
    QComboBox* mode_;
    QLabel* bytesLabel_;
    QLabel* bytes_;
    QLabel* channelsLabel_;
    QLabel* channels_;
    QGroupBox* transfers_;  // Frame1
    QCheckBox* includeChannels_;
    QCheckBox* includeSettings_;
    QCheckBox* includeSystemFont_;
    QRadioButton* font1_;
    QRadioButton* font2_;
    QCheckBox* includeTeletextFont_;
    QPushButton* download_;
    QPushButton* upload_;
    QLabel* pictureLabel_;
    QRadioButton* picture1_;
    QRadioButton* picture2_;
    QPushButton* uploadPicture_;
    QPushButton* restore_;
    QGroupBox* firmware_;  // Frame3
    QPushButton* upgradeFirmware_;
    QRadioButton* eraseFirmware_;
    QRadioButton* eraseAll_;
    std::array<QLabel*, SerialController::kMarks> ok_{};
    std::array<QLabel*, SerialController::kMarks> ko_{};
    std::array<QLabel*, SerialController::kMarks> skipped_{};  // none for picture, firmware
    // The choices of the DVB98 mode, kept while FTA mode offers only the channels: settings,
    // system font, teletext font.
    std::array<bool, 3> dvbChoices_{true, false, false};
    bool ftaChoices_ = false;  // the choices shown are FTA mode's
    QProgressBar* progress_;
    QPushButton* cancel_;
    bool released_ = false;  // the port was let go when the window closed
    std::unique_ptr<PictureApprover> dialogApprover_;
    PictureApprover* approver_;
    std::unique_ptr<BackupPicker> dialogPicker_;
    BackupPicker* picker_;
};

}  // namespace qel
