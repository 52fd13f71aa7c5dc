// qel-render-icon: draws the program's SVG icon into a square PNG at build time, so the
// installed bitmap icon always matches the drawing.
//   qel-render-icon ICON.svg SIZE OUT.png
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qel-render-icon ICON.svg SIZE OUT.png\n");
        return 1;
    }
    bool sized = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sized);
    if (!sized || size < 16 || size > 1024) {
        std::fprintf(stderr, "qel-render-icon: the size must be 16 to 1024 pixels\n");
        return 1;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "qel-render-icon: %s: not an SVG drawing\n", argv[1]);
        return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.convertToFormat(QImage::Format_ARGB32)
             .save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "qel-render-icon: %s: cannot write\n", argv[3]);
        return 2;
    }
    return 0;
}
