#include "ui/about_box.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace qel {

AboutBox::AboutBox(QWidget* parent) : QWidget(parent) {
    setObjectName("InfoForm");
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QString AboutBox::versionText(int major, int minor, int revision) {
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(major) + '.' + two(minor) + '.' + two(revision);
}

QString AboutBox::versionText() {
    return versionText(QEL_VERSION_MAJOR, QEL_VERSION_MINOR, QEL_VERSION_PATCH);
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x0B, 0x1E, 0x3F));
    sky.setColorAt(1, QColor(0x1F, 0x4E, 0x8C));
    p.fillRect(r, sky);

    // A dish aimed at the sky, and the signal it receives.
    const QPointF dish(r.width() * 0.78, r.height() * 0.62);
    p.setPen(QPen(QColor(0xDD, 0xE6, 0xF0), 3));
    p.setBrush(QColor(0xC8, 0xD3, 0xE0));
    QPainterPath bowl;
    bowl.moveTo(dish + QPointF(-60, -40));
    bowl.quadTo(dish + QPointF(-30, 50), dish + QPointF(60, 20));
    bowl.closeSubpath();
    p.drawPath(bowl);
    p.drawLine(dish + QPointF(0, 10), dish + QPointF(10, 90));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 200 - i * 50), 2));
        p.drawArc(
            QRectF(dish + QPointF(-40 - i * 25, -95 - i * 25), QSizeF(60 + i * 50, 60 + i * 50)),
            100 * 16, 60 * 16);
    }

    p.setPen(Qt::white);
    QFont title = font();
    title.setPixelSize(72);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(36, 40, r.width(), 90), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("QEL"));
    QFont text = font();
    text.setPixelSize(17);
    p.setFont(text);
    p.drawText(QRectF(40, 130, r.width() - 80, 30), Qt::AlignLeft,
               tr("Settings editor for DVB satellite receivers"));
    text.setPixelSize(14);
    p.setFont(text);
    p.setPen(QColor(0xC8, 0xD8, 0xEE));
    p.drawText(QRectF(40, 160, r.width() - 80, 24), Qt::AlignLeft,
               QStringLiteral("DVB98  \u00B7  FTA"));
    p.drawText(QRectF(40, r.height() - 70, r.width() - 80, 24), Qt::AlignLeft,
               tr("Version") + ' ' + versionText());
    p.setPen(Qt::white);
    p.drawText(QRectF(40, r.height() - 44, r.width() - 80, 24), Qt::AlignLeft,
               tr("Click to continue"));
}

void AboutBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit dismissed();
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) {
        emit dismissed();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) update();
    QWidget::changeEvent(event);
}

}  // namespace qel
