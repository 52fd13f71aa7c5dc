// The serial window: the connection (port, mode, speed), the bytes and channels fields, the
// transfer choices with their outcome marks, the download and the upload, and Cancel with a
// progress bar while a transfer runs; the font uploads with the upload, and the boot picture
// with its preview. The firmware controls wait disabled for their transfer. Everything it does goes
// through the serial controller.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

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

class SerialWindow : public QWidget {
    Q_OBJECT

public:
    SerialWindow(SerialController& serial, Session& session, Prompter& prompter,
                 FileChooser& chooser, QWidget* parent = nullptr);
    ~SerialWindow() override;

    QPushButton* downloadButton() const { return download_; }
    QPushButton* uploadButton() const { return upload_; }
    QPushButton* pictureButton() const { return uploadPicture_; }

    // Shows the picture as the receiver will show it and asks to send it; the real one is
    // the picture dialog, tests answer themselves.
    std::function<bool(const PreparedPicture&, const QString& path)> approvePicture;

    // "Picture Upload": a picture chosen, prepared, shown and sent into the chosen slot.
    void uploadPicture();
    // "Firmware upgrade": a firmware file chosen, the replacement confirmed, the upgrade run.
    void upgradeFirmware();
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setTexts();
    void showMarks();
    void enableGroups();
    void showAdviseColour(StatusColour colour);
    void showBackup(const QString& folder);
    void showFontChoices();

    SerialController& serial_;
    Session& session_;
    Prompter& prompter_;
    FileChooser& chooser_;
    QLabel* advise_;
    QLabel* backup_;         // where the last backup before an upload went
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
    QGroupBox* firmware_;  // Frame3
    QPushButton* upgradeFirmware_;
    QRadioButton* eraseFirmware_;
    QRadioButton* eraseAll_;
    std::array<QLabel*, SerialController::kMarks> ok_{};
    std::array<QLabel*, SerialController::kMarks> ko_{};
    QProgressBar* progress_;
    QPushButton* cancel_;
    bool released_ = false;  // the port was let go when the window closed
};

}  // namespace qel
