#include "ui/font_window.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qel {

namespace {

const QColor kInk(Qt::black);
const QColor kPaper(Qt::white);
const QColor kGridLine(200, 200, 200);
const QColor kMark(0, 120, 215);

template <class T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

GlyphGrid::GlyphGrid(FontController& fonts, QWidget* parent) : QWidget(parent), fonts_(fonts) {
    setObjectName("EditChar");
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    connect(&fonts_, &FontController::editorChanged, this, qOverload<>(&QWidget::update));
}

QSize GlyphGrid::sizeHint() const {
    return {kGlyphColumns * kCell + 1, kGridRows * kCell + 1};
}

bool GlyphGrid::cellAt(const QPoint& p, int& row, int& column) {
    if (p.x() < 0 || p.y() < 0) return false;
    row = p.y() / kCell;
    column = p.x() / kCell;
    return row < kGridRows && column < kGlyphColumns;
}

QPoint GlyphGrid::cellCentre(int row, int column) {
    return {column * kCell + kCell / 2, row * kCell + kCell / 2};
}

void GlyphGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int rows = fonts_.editorOpen() ? glyphRowCount(fonts_.type()) : kGridRows;
    // Rows the glyph does not have are greyed like a disabled control.
    const QColor unused = palette().color(QPalette::Disabled, QPalette::Window).darker(115);
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGlyphColumns; ++c) {
            const QRect cell(c * kCell, r * kCell, kCell, kCell);
            QColor fill = kPaper;
            if (r >= rows) {
                fill = unused;
            } else if (glyphPixel(fonts_.grid(), r, c)) {
                fill = kInk;
            }
            p.fillRect(cell, fill);
        }
    }
    p.setPen(kGridLine);
    for (int r = 0; r <= kGridRows; ++r)
        p.drawLine(0, r * kCell, kGlyphColumns * kCell, r * kCell);
    for (int c = 0; c <= kGlyphColumns; ++c)
        p.drawLine(c * kCell, 0, c * kCell, kGridRows * kCell);
}

void GlyphGrid::mousePressEvent(QMouseEvent* event) {
    int row = 0;
    int column = 0;
    if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint(), row, column))
        fonts_.togglePixel(row, column);
}

FontPreview::FontPreview(FontController& fonts, QWidget* parent) : QWidget(parent), fonts_(fonts) {
    setObjectName("FontPreview");
    const QScreen* shown = screen();
    if (shown != nullptr && shown->availableGeometry().width() < 3 * previewWidth() + 600)
        scale_ = 2;
    setCursor(Qt::PointingHandCursor);
    connect(&fonts_, &FontController::editorChanged, this, [this] {
        setFixedSize(sizeHint());
        update();
    });
    setFixedSize(sizeHint());
}

QSize FontPreview::sizeHint() const {
    const FontType type = fonts_.editorOpen() ? fonts_.type() : FontType::SystemOneSet;
    return {previewWidth() * scale_, previewHeight(type) * scale_};
}

QPoint FontPreview::glyphCentre(int glyph) const {
    const PreviewRect cell = previewCell(fonts_.type(), glyph);
    return {(cell.left + cell.width / 2) * scale_, (cell.top + cell.height / 2) * scale_};
}

void FontPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kPaper);
    if (!fonts_.editorOpen()) return;
    const FontType type = fonts_.type();
    // Drawn at the preview's own size, then enlarged without smoothing: crisp pixels.
    QImage image(previewWidth(), previewHeight(type), QImage::Format_RGB32);
    image.fill(kPaper);
    const int rows = glyphRowCount(type);
    for (int n = 0; n < glyphsPerSet(type); ++n) {
        const GlyphRows glyph = fonts_.workingGlyph(n);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < kGlyphColumns; ++c) {
                if (!glyphPixel(glyph, r, c)) continue;
                const PreviewPoint at = previewPixel(type, n, r, c);
                if (at.x < image.width() && at.y < image.height())
                    image.setPixel(at.x, at.y, kInk.rgb());
            }
        }
    }
    p.drawImage(QRect(0, 0, image.width() * scale_, image.height() * scale_), image);
    // The current glyph is framed.
    const PreviewRect cell = previewCell(type, fonts_.glyph());
    p.setPen(QPen(kMark, 2));
    p.drawRect(
        QRect(cell.left * scale_, cell.top * scale_, cell.width * scale_, cell.height * scale_)
            .adjusted(1, 1, -1, -1));
}

void FontPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !fonts_.editorOpen()) return;
    const QPoint at = event->position().toPoint();
    const std::optional<int> glyph =
        glyphAtPreview(fonts_.type(), at.x() / scale_, at.y() / scale_);
    if (!glyph) {
        QApplication::beep();
        return;
    }
    fonts_.pickGlyph(*glyph);
}

FontWindow::FontWindow(FontController& fonts, Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), fonts_(fonts), session_(session) {
    setObjectName("FontForm");
    createWidgets();
    layOut();
    connectSignals();
    fonts_.openEditor();
    setTexts();
    showState();
}

void FontWindow::createWidgets() {
    grid_ = new GlyphGrid(fonts_, this);
    preview_ = new FontPreview(fonts_, this);
    positionLabel_ = named(new QLabel(this), "Label2");
    position_ = named(new QLabel(this), "position");
    ofLabel_ = named(new QLabel(this), "Label3");
    count_ = named(new QLabel(this), "GlyphCount");
    type_ = named(new QLabel(this), "FontIs");
    fileName_ = named(new QLabel(this), "filename");
    setOne_ = named(new QRadioButton(this), "FontOne");
    setTwo_ = named(new QRadioButton(this), "FontTwo");
    saveChar_ = named(new QPushButton(this), "Save");
    saveFont_ = named(new QPushButton(this), "SaveFont");
    undo_ = named(new QPushButton(this), "UndoGlyph");
    QFont bold = position_->font();
    bold.setBold(true);
    position_->setFont(bold);
}

void FontWindow::layOut() {
    auto* where = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{positionLabel_, position_, ofLabel_, count_})
        where->addWidget(w);
    where->addStretch(1);
    auto* sets = new QHBoxLayout;
    sets->addWidget(setOne_);
    sets->addWidget(setTwo_);
    sets->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(saveChar_);
    buttons->addWidget(undo_);
    buttons->addStretch(1);
    buttons->addWidget(saveFont_);
    auto* left = new QHBoxLayout;
    left->addWidget(grid_, 0, Qt::AlignTop);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(fileName_);
    right->addWidget(type_);
    right->addLayout(sets);
    right->addWidget(preview_);
    right->addLayout(where);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addSpacing(12);
    layout->addLayout(right, 1);
}

void FontWindow::connectSignals() {
    connect(saveChar_, &QPushButton::clicked, &fonts_, &FontController::saveChar);
    connect(saveFont_, &QPushButton::clicked, &fonts_, &FontController::saveFont);
    connect(undo_, &QPushButton::clicked, &fonts_, &FontController::undo);
    connect(setOne_, &QRadioButton::clicked, this, [this] {
        if (!fonts_.chooseSet(0)) showState();
    });
    connect(setTwo_, &QRadioButton::clicked, this, [this] {
        if (!fonts_.chooseSet(1)) showState();
    });
    connect(&fonts_, &FontController::editorChanged, this, &FontWindow::showState);
    connect(&session_, &Session::stateChanged, this, &FontWindow::showState);
}

void FontWindow::showState() {
    const bool open = fonts_.editorOpen();
    const bool twoSets = open && fontSetCount(fonts_.type()) == 2;
    setOne_->setEnabled(twoSets);
    setTwo_->setEnabled(twoSets);
    (fonts_.set() == 0 ? setOne_ : setTwo_)->setChecked(true);
    position_->setText(QString::number(fonts_.glyph()));
    count_->setText(open ? QString::number(glyphsPerSet(fonts_.type()) - 1) : QString());
    saveChar_->setEnabled(fonts_.glyphChanged());
    undo_->setEnabled(fonts_.canUndo());
    saveFont_->setEnabled(open);
    fileName_->setText(QFileInfo(session_.fontFile()).fileName() +
                       (session_.workspace().fontsModified() ? QStringLiteral(" *") : QString()));
    if (!open) {
        type_->clear();
    } else if (isSystemFont(fonts_.type())) {
        type_->setText(tr("Font type is SYSTEM"));
    } else {
        type_->setText(tr("Font type is TELETEXT"));
    }
}

void FontWindow::setTexts() {
    setWindowTitle(tr("QEL - Fonts"));
    saveChar_->setText(tr("Save Char"));
    saveFont_->setText(tr("Save font"));
    undo_->setText(tr("Undo") + QStringLiteral("  (Ctrl+Z)"));
    setOne_->setText(tr("1st"));
    setTwo_->setText(tr("2nd"));
    positionLabel_->setText(tr("Current char position is "));
    ofLabel_->setText(tr("of"));
    showState();
}

void FontWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        fonts_.undo();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FontWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

}  // namespace qel
