#include "ui/osd_color_window.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/texts.h"
#include "ui/key_filter.h"

namespace qel {

namespace {

QColor fromRgbNumber(std::uint32_t rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

std::uint32_t toRgbNumber(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) + 256u * static_cast<std::uint32_t>(c.green()) +
           65536u * static_cast<std::uint32_t>(c.blue());
}

// The elements in the order of the list, by what the preview shows of them.
enum Item {
    kMenuBox,
    kMenuText,
    kMenuBack,
    kChannelText,
    kChannelBack,
    kTvText,
    kTvBack,
    kRadioText,
    kRadioBack,
    kSubtitleBack,
    kEpgHeading,
    kEpgText,
    kEpgBack
};

}  // namespace

ColorBox::ColorBox(QWidget* parent) : QWidget(parent) {
    setObjectName("ColorBox");
    setMouseTracking(true);
    setMinimumSize(192, 96);
    setCursor(Qt::CrossCursor);
}

QColor ColorBox::colorAt(QPoint p) const {
    const float x = std::clamp(
        static_cast<float>(p.x()) / static_cast<float>(std::max(width() - 1, 1)), 0.0F, 1.0F);
    const float y = std::clamp(
        static_cast<float>(p.y()) / static_cast<float>(std::max(height() - 1, 1)), 0.0F, 1.0F);
    // The last column holds the greys, from white to black.
    if (x > 0.94F) return QColor::fromHsvF(0, 0, 1.0F - y);
    const float hue = std::min(x / 0.94F, 0.999F);
    return y < 0.5F ? QColor::fromHsvF(hue, y * 2, 1.0F)
                    : QColor::fromHsvF(hue, 1.0F, 2.0F - y * 2);
}

void ColorBox::paintEvent(QPaintEvent*) {
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x)
            img.setPixelColor(x, y, colorAt({x, y}));
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
}

void ColorBox::mouseMoveEvent(QMouseEvent* event) {
    emit hovered(colorAt(event->position().toPoint()));
}

void ColorBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit picked(colorAt(event->position().toPoint()));
}

ColorPreview::ColorPreview(QWidget* parent) : QWidget(parent) {
    setObjectName("Preview");
    setMinimumSize(300, 190);
}

void ColorPreview::showColors(const std::array<std::uint32_t, kColorItems>& rgb, int item) {
    rgb_ = rgb;
    item_ = item;
    update();
}

void ColorPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF r = rect().adjusted(2, 2, -2, -2);
    // A picture on the TV behind the receiver's display.
    QLinearGradient scene(r.topLeft(), r.bottomRight());
    scene.setColorAt(0, QColor(0x40, 0x70, 0x50));
    scene.setColorAt(1, QColor(0x20, 0x30, 0x60));
    p.fillRect(r, scene);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(r);
    const auto c = [this](int i) { return fromRgbNumber(rgb_[static_cast<std::size_t>(i)]); };
    QFont f = font();
    f.setPixelSize(12);
    p.setFont(f);
    const auto text = [&](const QRectF& box, int color, const QString& s) {
        p.setPen(c(color));
        p.drawText(box.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, s);
    };
    switch (item_) {
        case kMenuBox:
        case kMenuText:
        case kMenuBack:
        case kChannelText:
        case kChannelBack: {
            const QRectF box(r.left() + 20, r.top() + 14, r.width() - 40, r.height() - 28);
            p.fillRect(box, c(kMenuBox));
            const QRectF menu = box.adjusted(8, 8, -8, -8);
            p.fillRect(menu, c(kMenuBack));
            text(QRectF(menu.left(), menu.top(), menu.width(), 20), kMenuText,
                 QStringLiteral("MAIN MENU"));
            const char* rows[] = {"001  NEWS 24", "002  CINEMA", "003  SPORT"};
            for (int i = 0; i < 3; ++i) {
                const QRectF row(menu.left() + 8, menu.top() + 28 + i * 24, menu.width() - 16, 20);
                p.fillRect(row, c(kChannelBack));
                text(row, kChannelText, QString::fromLatin1(rows[i]));
            }
            break;
        }
        case kTvText:
        case kTvBack:
        case kRadioText:
        case kRadioBack: {
            const bool radio = item_ == kRadioText || item_ == kRadioBack;
            const QRectF bar(r.left() + 12, r.bottom() - 56, r.width() - 24, 44);
            p.fillRect(bar, c(radio ? kRadioBack : kTvBack));
            text(QRectF(bar.left(), bar.top(), bar.width(), 22), radio ? kRadioText : kTvText,
                 radio ? QStringLiteral("R 004  CLASSICA FM")
                       : QStringLiteral("TV 012  CINEMA ONE"));
            text(QRectF(bar.left(), bar.top() + 22, bar.width(), 22), radio ? kRadioText : kTvText,
                 QStringLiteral("20:30  11766 V 27500"));
            break;
        }
        case kSubtitleBack: {
            const QRectF sub(r.left() + 40, r.bottom() - 40, r.width() - 80, 24);
            p.fillRect(sub, c(kSubtitleBack));
            p.setPen(Qt::white);
            p.drawText(sub, Qt::AlignCenter, QStringLiteral("Subtitle line"));
            break;
        }
        default: {
            const QRectF epg = r.adjusted(16, 12, -16, -12);
            p.fillRect(epg, c(kEpgBack));
            text(QRectF(epg.left(), epg.top() + 4, epg.width(), 20), kEpgHeading,
                 QStringLiteral("EPG  CINEMA ONE"));
            const char* lines[] = {"20:30  Film", "22:15  News", "22:30  Sport"};
            for (int i = 0; i < 3; ++i) {
                text(QRectF(epg.left(), epg.top() + 30 + i * 22, epg.width(), 20), kEpgText,
                     QString::fromLatin1(lines[i]));
            }
            break;
        }
    }
}

OsdColorWindow::OsdColorWindow(SettingsController& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), values_(settings.colors()) {
    setObjectName("SettingsDVB_ColorForm");
    buildChoiceBox();
    buildChangeBox();
    buildTransparencyAndPreview();
    back_ = new QPushButton(this);
    back_->setObjectName("Back");
    connectSignals();
    layOut();
    setTexts();
    choice_->setCurrentRow(0);
    choose(0);
}

void OsdColorWindow::buildChoiceBox() {
    chose_ = new QGroupBox(this);
    choice_ = new QListWidget(chose_);
    choice_->setObjectName("Activechoice");
    for (std::size_t i = 0; i < kColorItems; ++i)
        choice_->addItem(QString());
    (new QVBoxLayout(chose_))->addWidget(choice_);
}

void OsdColorWindow::buildChangeBox() {
    change_ = new QGroupBox(this);
    colorBox_ = new ColorBox(change_);
    hover_ = new QLabel(change_);
    hover_->setObjectName("Red");
    red_ = new QLineEdit(change_);
    red_->setObjectName("RedAct");
    green_ = new QLineEdit(change_);
    green_->setObjectName("GreenAct");
    blue_ = new QLineEdit(change_);
    blue_->setObjectName("BlueAct");
    pick_ = new QPushButton(change_);
    pick_->setObjectName("Pick");
    for (QLineEdit* e : {red_, green_, blue_}) {
        e->setMaxLength(3);
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        KeyFilter::install(e, KeyFilter::Kind::Decimal);
        e->installEventFilter(this);
    }
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(new QLabel(QStringLiteral("R"), change_));
    numbers->addWidget(red_);
    numbers->addWidget(new QLabel(QStringLiteral("G"), change_));
    numbers->addWidget(green_);
    numbers->addWidget(new QLabel(QStringLiteral("B"), change_));
    numbers->addWidget(blue_);
    numbers->addStretch(1);
    numbers->addWidget(pick_);
    auto* changeLayout = new QVBoxLayout(change_);
    changeLayout->addWidget(colorBox_, 1);
    changeLayout->addWidget(hover_);
    changeLayout->addLayout(numbers);
}

void OsdColorWindow::buildTransparencyAndPreview() {
    trans_ = new QGroupBox(this);
    transparency_ = new QSlider(Qt::Horizontal, trans_);
    transparency_->setObjectName("Trasparency");
    transparency_->setRange(0, 3);
    transparency_->setPageStep(1);
    transparency_->setTickPosition(QSlider::TicksBelow);
    (new QVBoxLayout(trans_))->addWidget(transparency_);

    actual_ = new QGroupBox(this);
    preview_ = new ColorPreview(actual_);
    (new QVBoxLayout(actual_))->addWidget(preview_);
}

void OsdColorWindow::connectSignals() {
    connect(choice_, &QListWidget::currentRowChanged, this, [this](int row) { choose(row); });
    connect(colorBox_, &ColorBox::hovered, this, [this](const QColor& c) {
        hover_->setText(
            QStringLiteral("R %1   G %2   B %3").arg(c.red()).arg(c.green()).arg(c.blue()));
    });
    connect(colorBox_, &ColorBox::picked, this, [this](const QColor& c) { apply(toRgbNumber(c)); });
    connect(transparency_, &QSlider::valueChanged, this, [this](int t) { setTransparency(t); });
    connect(pick_, &QPushButton::clicked, this, [this] {
        const QColor current = fromRgbNumber(yuvToRgb(values_[static_cast<std::size_t>(item_)]));
        const QColor c = QColorDialog::getColor(current, this);
        if (c.isValid()) apply(toRgbNumber(c));
    });
    connect(back_, &QPushButton::clicked, this, &OsdColorWindow::back);
}

void OsdColorWindow::layOut() {
    auto* left = new QVBoxLayout;
    left->addWidget(chose_, 1);
    left->addWidget(trans_);
    auto* right = new QVBoxLayout;
    right->addWidget(change_);
    right->addWidget(actual_, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(back_, 0, Qt::AlignRight);
}

void OsdColorWindow::setTexts() {
    setWindowTitle(tr("QEL - Colours"));
    chose_->setTitle(tr(" Chose "));
    change_->setTitle(tr(" Change color in "));
    trans_->setTitle(tr(" Trasparency "));
    actual_->setTitle(tr(" Actual "));
    pick_->setText(tr("More colours..."));
    back_->setText(tr("Back"));
    for (std::size_t i = 0; i < kColorItems; ++i)
        choice_->item(static_cast<int>(i))
            ->setText(QCoreApplication::translate(kColorNameContext, colorItems()[i].name));
}

void OsdColorWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

void OsdColorWindow::setCurrentColor(std::uint32_t rgb) {
    red_->setText(QString::number(rgb & 0xFF));
    green_->setText(QString::number((rgb >> 8) & 0xFF));
    blue_->setText(QString::number((rgb >> 16) & 0xFF));
}

void OsdColorWindow::updatePreview() {
    std::array<std::uint32_t, kColorItems> rgb{};
    for (std::size_t i = 0; i < kColorItems; ++i)
        rgb[i] = yuvToRgb(values_[i]);
    preview_->showColors(rgb, item_);
}

void OsdColorWindow::choose(int item) {
    if (item < 0 || item >= static_cast<int>(kColorItems)) return;
    item_ = item;
    const std::string& v = values_[static_cast<std::size_t>(item)];
    {
        const QSignalBlocker block(transparency_);
        transparency_->setValue(transparencyOf(v));
    }
    setCurrentColor(yuvToRgb(v));
    updatePreview();
}

void OsdColorWindow::apply(std::uint32_t rgb) {
    std::string& v = values_[static_cast<std::size_t>(item_)];
    v = rgbToYuv(rgb, transparencyBits(transparency_->value()));
    // The boxes and the preview show the colour as the receiver will reproduce it.
    setCurrentColor(yuvToRgb(v));
    updatePreview();
}

void OsdColorWindow::setTransparency(int t) {
    {
        const QSignalBlocker block(transparency_);
        transparency_->setValue(t);
    }
    apply(yuvToRgb(values_[static_cast<std::size_t>(item_)]));
}

void OsdColorWindow::leaveNumberBox(QLineEdit* box) {
    if (box == nullptr) return;
    const int value = box->text().toInt();
    // A colour part is 0-255: anything else is refused.
    if (value > 255) {
        box->setText(QStringLiteral("0"));
        return;
    }
    apply(static_cast<std::uint32_t>(blue_->text().toInt()) * 65536u +
          static_cast<std::uint32_t>(green_->text().toInt()) * 256u +
          static_cast<std::uint32_t>(red_->text().toInt()));
}

bool OsdColorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) leaveNumberBox(qobject_cast<QLineEdit*>(watched));
    return QWidget::eventFilter(watched, event);
}

bool OsdColorWindow::hasUnsavedEdits() const {
    return settings_.colorsChangeImage(values_);
}

void OsdColorWindow::back() {
    settings_.writeColors(values_);
    emit backRequested();
}

}  // namespace qel
