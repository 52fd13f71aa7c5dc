// The on-screen colour editor: 13 display elements, each a YUV colour with a
// transparency. A colour is picked from the palette, Qt's colour dialog or red, green and
// blue numbers; the preview shows it as the receiver reproduces it; Back writes the
// colours into the working copy of the settings.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "app/settings_controller.h"
#include "receiver_settings/osd_colors.h"
#include "ui/close_guard.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;

namespace qel {

// A palette of hues across and lightness down; hovering and clicking report colours.
class ColorBox : public QWidget {
    Q_OBJECT

public:
    explicit ColorBox(QWidget* parent = nullptr);
    QColor colorAt(QPoint p) const;
    QSize sizeHint() const override { return {256, 128}; }

signals:
    void hovered(const QColor& color);
    void picked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A mock-up of the receiver's screens in the chosen colours.
class ColorPreview : public QWidget {
    Q_OBJECT

public:
    explicit ColorPreview(QWidget* parent = nullptr);
    void showColors(const std::array<std::uint32_t, kColorItems>& rgb, int item);
    QSize sizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<std::uint32_t, kColorItems> rgb_{};
    int item_ = 0;
};

class OsdColorWindow : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    explicit OsdColorWindow(SettingsController& settings, QWidget* parent = nullptr);

    // Chooses an element of the list.
    void choose(int item);
    // Stores `rgb` (R + 256 G + 65536 B) for the chosen element with the transparency set.
    void apply(std::uint32_t rgb);
    void setTransparency(int t);
    // Leaving a number box: values 0-255 apply the three boxes' colour; others reset the box.
    void leaveNumberBox(QLineEdit* box);
    // Writes the colours into the working copy of the settings.
    void back();
    // The colours, or the working copy they would go back to, differ from the stored settings.
    bool hasUnsavedEdits() const override;

    const std::array<std::string, kColorItems>& values() const { return values_; }
    QLineEdit* red() const { return red_; }
    QLineEdit* green() const { return green_; }
    QLineEdit* blue() const { return blue_; }

signals:
    void backRequested();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window in parts: the list of elements, the colour choice, the transparency and the
    // preview, what the controls do, their places.
    void buildChoiceBox();
    void buildChangeBox();
    void buildTransparencyAndPreview();
    void connectSignals();
    void layOut();
    void setTexts();
    void setCurrentColor(std::uint32_t rgb);
    void updatePreview();

    SettingsController& settings_;
    std::array<std::string, kColorItems> values_;
    int item_ = 0;
    QListWidget* choice_;
    ColorBox* colorBox_;
    QLabel* hover_;
    QLineEdit* red_;
    QLineEdit* green_;
    QLineEdit* blue_;
    QSlider* transparency_;
    QPushButton* pick_;
    ColorPreview* preview_;
    QPushButton* back_;
    QGroupBox* chose_;
    QGroupBox* change_;
    QGroupBox* trans_;
    QGroupBox* actual_;
};

}  // namespace qel
