// The font editor (Fonts tab): the current glyph on an enlarged pixel grid, every glyph of
// the set in a preview that marks the current one, the set choice of a two-set font, "Save
// Char", "Save font", and Ctrl+Z for the editor's last step. Everything it does goes through
// the font controller.
#pragma once

#include <QWidget>

#include "app/font_controller.h"
#include "ui/close_guard.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace qel {

// The enlarged grid of the current glyph: 16 rows of 8 cells; rows a teletext glyph does not
// have are greyed and take no clicks.
class GlyphGrid : public QWidget {
    Q_OBJECT

public:
    explicit GlyphGrid(FontController& fonts, QWidget* parent = nullptr);
    static constexpr int kCell = 22;
    QSize sizeHint() const override;
    // The cell (row, column) under a point of the widget; false outside the grid.
    static bool cellAt(const QPoint& p, int& row, int& column);
    static QPoint cellCentre(int row, int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    FontController& fonts_;
};

// Every glyph of the shown set, 29 a line, drawn at a whole multiple of its size; a press
// picks the glyph under it.
class FontPreview : public QWidget {
    Q_OBJECT

public:
    explicit FontPreview(FontController& fonts, QWidget* parent = nullptr);
    // Each preview pixel is scale × scale screen pixels: 3 where the screen has room, else 2.
    int scale() const { return scale_; }
    QSize sizeHint() const override;
    // The widget point at the middle of glyph n's cell.
    QPoint glyphCentre(int glyph) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    FontController& fonts_;
    int scale_ = 3;
};

class FontWindow : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    FontWindow(FontController& fonts, Session& session, QWidget* parent = nullptr);

    bool hasUnsavedEdits() const override { return fonts_.holdsUnsavedEdits(); }

    GlyphGrid* grid() const { return grid_; }
    FontPreview* preview() const { return preview_; }

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The window in parts: the grid, the preview and the controls, their places, what the
    // controls do.
    void createWidgets();
    void layOut();
    void connectSignals();
    void setTexts();
    void showState();

    FontController& fonts_;
    Session& session_;
    GlyphGrid* grid_;
    FontPreview* preview_;
    QLabel* positionLabel_;  // Label2
    QLabel* position_;
    QLabel* ofLabel_;  // Label3
    QLabel* count_;
    QLabel* type_;  // FontIs
    QLabel* fileName_;
    QRadioButton* setOne_;
    QRadioButton* setTwo_;
    QPushButton* saveChar_;
    QPushButton* saveFont_;
    QPushButton* undo_;
};

}  // namespace qel
