// The FTA settings window: the eight antenna entries of an FTA image (name, LNB
// oscillators, switch, LOF mode, DiSEqC), the screen format and the secret code. Nothing
// reaches the image tables until Save.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "app/session.h"
#include "receiver_settings/fta_settings.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qel {

class SettingsFTAForm : public QWidget {
    Q_OBJECT

public:
    explicit SettingsFTAForm(Session& session, QWidget* parent = nullptr);

    // Shows working entry n in the controls, and rebuilds it from them.
    void Show_Data(int n);
    void RebuiltConf(int n);
    void ChooseAntenna(int n);
    void Asave();

    AntennaControls Controls() const;
    void SetControls(const AntennaControls& c);
    QLineEdit* secretCode() const { return secret_; }
    QComboBox* antennas() const { return antNo_; }
    QButtonGroup* screen() const { return screen_; }
    QButtonGroup* picture() const { return picture_; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetTexts();

    Session& s_;
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
