#include "print/page_printer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "files/file_io.h"

namespace qel {

namespace {

// The size the fit is measured at: large, so that rounded metrics hardly count.
constexpr qreal kReferencePointSize = 100;
// A size that does not fit after all (metrics are not quite linear) is tried this much smaller.
constexpr qreal kShrinkStep = 0.98;
constexpr int kMaxShrinkSteps = 40;
constexpr qreal kPdfMarginMm = 15;

QFont monospaceFont() {
    QFont font;
    // The families a desktop most likely has, before the one fontconfig calls monospace (which
    // may be a font that does not say it is one).
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Noto Sans Mono"), QStringLiteral("Courier New"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Kerning and hinting would move the characters off the columns of a fixed pitch.
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::vector<QString> linesOf(const std::string& page) {
    std::vector<QString> lines;
    std::size_t begin = 0;
    while (begin < page.size()) {
        const std::size_t end = std::min(page.find('\n', begin), page.size());
        lines.push_back(printedLine(std::string_view(page).substr(begin, end - begin)));
        begin = end + 1;
    }
    return lines;
}

// What the font must hold on one sheet: the widest line of all pages, the most lines of one.
struct Extent {
    QString widestLine;
    std::size_t lines = 0;
};

Extent extentOf(const std::vector<std::string>& pages) {
    Extent e;
    for (const std::string& page : pages) {
        const std::vector<QString> lines = linesOf(page);
        e.lines = std::max(e.lines, lines.size());
        for (const QString& line : lines) {
            if (line.size() > e.widestLine.size()) e.widestLine = line;
        }
    }
    return e;
}

bool fits(const QFont& font, const Extent& e, const QPaintDevice& device) {
    const QFontMetricsF fm(font, &device);
    return fm.horizontalAdvance(e.widestLine) <= device.width() &&
           fm.lineSpacing() * static_cast<qreal>(e.lines) <= device.height();
}

}  // namespace

QString printedLine(std::string_view bytes) {
    QString line = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0)) c = QLatin1Char(' ');
    }
    return line;
}

QFont printFont(const std::vector<std::string>& pages, const QPaintDevice& device) {
    QFont font = monospaceFont();
    font.setPointSizeF(kMaxPrintPointSize);
    const Extent e = extentOf(pages);
    if (e.lines == 0 || device.width() <= 0 || device.height() <= 0) return font;

    font.setPointSizeF(kReferencePointSize);
    const QFontMetricsF fm(font, &device);
    const qreal width = std::max<qreal>(fm.horizontalAdvance(e.widestLine), 1);
    const qreal height = fm.lineSpacing() * static_cast<qreal>(e.lines);
    const qreal scale = std::min(device.width() / width, device.height() / height);
    qreal size = std::min(kReferencePointSize * scale, kMaxPrintPointSize);
    font.setPointSizeF(size);
    for (int step = 0; step < kMaxShrinkSteps && !fits(font, e, device); ++step) {
        size *= kShrinkStep;
        font.setPointSizeF(size);
    }
    return font;
}

Status printPages(const std::vector<std::string>& pages, QPagedPaintDevice& device) {
    const QFont font = printFont(pages, device);
    QPainter painter;
    if (!painter.begin(&device)) {
        return ErrorCode::CannotWriteFile;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF fm(font, &device);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            return ErrorCode::CannotWriteFile;
        }
        const std::vector<QString> lines = linesOf(pages[p]);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].isEmpty()) continue;
            painter.drawText(QPointF(0, fm.ascent() + fm.lineSpacing() * static_cast<qreal>(i)),
                             lines[i]);
        }
    }
    if (!painter.end()) return ErrorCode::CannotWriteFile;
    return {};
}

QPageLayout::Orientation betterOrientation(const std::vector<std::string>& pages,
                                           QPageLayout layout) {
    const auto sizeIn = [&](QPageLayout::Orientation orientation) {
        // Measured on a PDF of the same sheet: its metrics are the printer's, at any resolution.
        QBuffer nowhere;
        QPdfWriter sheet(&nowhere);
        layout.setOrientation(orientation);
        sheet.setPageLayout(layout);
        return printFont(pages, sheet).pointSizeF();
    };
    return sizeIn(QPageLayout::Landscape) > sizeIn(QPageLayout::Portrait) ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait;
}

QPageLayout pdfPageLayout(const std::vector<std::string>& pages) {
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                       QPageLayout::Millimeter);
    layout.setOrientation(betterOrientation(pages, layout));
    return layout;
}

QByteArray pdfDocument(const std::vector<std::string>& pages, const QPageLayout& layout,
                       const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("QEL"));
        // Painting into memory cannot fail but for a lack of it.
        if (!printPages(pages, writer)) return {};
    }
    return buffer.data();
}

Status writePdfFile(const std::vector<std::string>& pages, const std::string& path,
                    const QString& title) {
    const QByteArray pdf = pdfDocument(pages, pdfPageLayout(pages), title);
    if (pdf.isEmpty()) return ErrorCode::CannotWriteFile;
    return writeFileAtomic(path, std::string_view(pdf.constData(), pdf.size()));
}

}  // namespace qel
