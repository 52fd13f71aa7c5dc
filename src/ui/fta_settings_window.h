// The FTA settings window: the eight antenna entries of an FTA image (name, LNB
// oscillators, switch, LOF mode, DiSEqC), the screen format and the secret code. Nothing
// reaches the image tables until save.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "app/session.h"
#include "app/settings_controller.h"
#include "receiver_settings/fta_settings.h"
#include "ui/close_guard.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qel {

class FtaSettingsWindow : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    FtaSettingsWindow(Session& session, SettingsController& settings, QWidget* parent = nullptr);

    // Shows working entry n in the controls, and rebuilds it from them.
    void showAntenna(int n);
    void storeAntenna(int n);
    void chooseAntenna(int n);
    void save();
    // Save would change the image's antennas, secret code or screen format.
    bool hasUnsavedEdits() const override;

    AntennaControls controls() const;
    void setControls(const AntennaControls& c);
    QLineEdit* secretCode() const { return secret_; }
    QComboBox* antennas() const { return antNo_; }
    QButtonGroup* screen() const { return screen_; }
    QButtonGroup* picture() const { return picture_; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window in parts: the antenna entry, the boxes of choices, their places, and the
    // image's settings shown in them.
    void buildAntennaBox();
    void buildChoiceBoxes();
    void layOut();
    void showStoredSettings();
    void setTexts();

    Session& session_;
    SettingsController& settings_;
    std::array<std::string, 8> work_;
    int shown_ = 0;
    QComboBox* antNo_;
    QLineEdit* name_;
    QLineEdit* lnbLow_;
    QLineEdit* lnbHigh_;
    QButtonGroup* diseqc_;
    QButtonGroup* switch_;
    QButtonGroup* lof_;
    QButtonGroup* screen_;
    QButtonGroup* picture_;
    QLineEdit* secret_;
    QPushButton* save_;
    QLabel* numberLabel_;
    QLabel* nameLabel_;
    QLabel* lowLabel_;
    QLabel* highLabel_;
    QGroupBox* diseqcBox_;
    QGroupBox* switchBox_;
    QGroupBox* lofBox_;
    QGroupBox* screenBox_;
    QGroupBox* pictureBox_;
    QGroupBox* secretBox_;
    QGroupBox* antennaBox_;
};

}  // namespace qel
