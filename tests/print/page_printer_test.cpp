// The export's pages on sheets: the font that fits them, the orientation chosen, and PDFs
// read back with poppler's tools, page for page and line for line.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include "bytes/conversions.h"
#include "files/text_export.h"
#include "print/page_printer.h"
#include "support/channel_builder.h"
#include "support/pdf_text.h"

namespace qel {

namespace {

using test::Channel;

// `tv` TV and `radio` RADIO channels whose values and names differ from row to row, some
// names with a Latin-1 letter.
ChannelRec numbered(const char* kind, int i) {
    const std::string hex = pad4(toHex(0x1F0 + i * 37));
    std::string name = std::string(kind) + ' ' + std::to_string(i);
    if (i % 3 == 0) name += " Caf\xE9";
    Channel c(name);
    c.NetId(hex).TsId("2775").SerId(hex).Freq("01176600").Pol(i % 2 == 0 ? "0" : "1");
    c.Srate("275000").Fec("3").VPid(hex).APid("0201").PPid(hex).PmtPid("0102");
    return c.TxtPid("0203").Acbw("A5");
}

std::vector<std::string> pagesOf(int tv, int radio, bool decimal, ExportColumns columns = {}) {
    ChannelList tvList, radioList;
    for (int i = 1; i <= tv; ++i)
        tvList.push_back(numbered("TV", i));
    for (int i = 1; i <= radio; ++i)
        radioList.push_back(numbered("RADIO", i));
    ExportOptions o;
    o.decimal = decimal;
    o.columns = columns;
    const ExportTexts t = {"QEL - Version 00.01.00",
                           "list.dvb",
                           "01/02/03",
                           "TELEVISION CHANNELS",
                           "RADIO CHANNELS    ",
                           "hexadecimal",
                           "All values are in decimal format",
                           "Name"};
    return exportPages(tvList, radioList, o, t);
}

QPageLayout sheet(QPageSize::PageSizeId size, QPageLayout::Orientation orientation) {
    return QPageLayout(QPageSize(size), orientation, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

ExportColumns nameOnly() {
    return ExportColumns{false, false, false, false, false, false, false, false};
}

}  // namespace

class PagePrinterTest : public QObject {
    Q_OBJECT

private slots:
    void linesShowLatin1AndBlankControlCodes() {
        QCOMPARE(printedLine("Caf\xE9 \xFF"), QString::fromUtf8("Café ÿ"));
        // A blank keeps the columns after a control code in their places.
        QCOMPARE(printedLine(std::string("A\0B\x1F\x7F\x9F|", 7)), QString("A B   |"));
        QCOMPARE(printedLine(""), QString());
    }

    void theFontFitsTheSheetAsLargeAsItMay_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<bool>("wide");
        for (const auto& [name, size] : {std::pair{"A4", QPageSize::A4},
                                         {"A5", QPageSize::A5},
                                         {"Letter", QPageSize::Letter},
                                         {"A3", QPageSize::A3}}) {
            for (const bool landscape : {false, true}) {
                for (const bool wide : {false, true}) {
                    QTest::addRow("%s %s %s", name, landscape ? "landscape" : "portrait",
                                  wide ? "every column" : "names only")
                        << static_cast<int>(size) << landscape << wide;
                }
            }
        }
    }

    void theFontFitsTheSheetAsLargeAsItMay() {
        QFETCH(int, size);
        QFETCH(bool, landscape);
        QFETCH(bool, wide);
        const std::vector<std::string> pages =
            wide ? pagesOf(80, 5, true) : pagesOf(3, 0, false, nameOnly());
        QBuffer nowhere;
        QPdfWriter device(&nowhere);
        device.setPageLayout(sheet(static_cast<QPageSize::PageSizeId>(size),
                                   landscape ? QPageLayout::Landscape : QPageLayout::Portrait));
        const QFont font = printFont(pages, device);
        QVERIFY(QFontInfo(font).fixedPitch());
        QVERIFY(font.pointSizeF() <= kMaxPrintPointSize);

        const QFontMetricsF fm(font, &device);
        qreal widest = 0;
        std::size_t lines = 0;
        for (const std::string& page : pages) {
            const std::vector<std::string> all = test::shownLines(page);
            lines = std::max<std::size_t>(lines, std::count(page.begin(), page.end(), '\n'));
            for (const std::string& line : all)
                widest = std::max(widest, fm.horizontalAdvance(printedLine(line)));
        }
        const qreal usedWidth = widest / device.width();
        const qreal usedHeight = fm.lineSpacing() * static_cast<qreal>(lines) / device.height();
        QVERIFY2(usedWidth <= 1 && usedHeight <= 1,
                 qPrintable(QString("%1 %2").arg(usedWidth).arg(usedHeight)));
        // No smaller than it has to be: at the cap, or filling the sheet one way.
        QVERIFY2(
            font.pointSizeF() == kMaxPrintPointSize || std::max(usedWidth, usedHeight) > 0.95,
            qPrintable(
                QString("%1 pt, %2 %3").arg(font.pointSizeF()).arg(usedWidth).arg(usedHeight)));
    }

    void theOrientationChosenPrintsLarger() {
        for (const QPageSize::PageSizeId size : {QPageSize::A4, QPageSize::A5, QPageSize::Letter}) {
            for (const bool wide : {false, true}) {
                const std::vector<std::string> pages =
                    wide ? pagesOf(80, 5, false) : pagesOf(3, 0, false, nameOnly());
                const auto pointSize = [&](QPageLayout::Orientation orientation) {
                    QBuffer nowhere;
                    QPdfWriter device(&nowhere);
                    device.setPageLayout(sheet(size, orientation));
                    return printFont(pages, device).pointSizeF();
                };
                const QPageLayout::Orientation chosen =
                    betterOrientation(pages, sheet(size, QPageLayout::Portrait));
                const QPageLayout::Orientation other = chosen == QPageLayout::Portrait
                                                           ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait;
                QVERIFY2(pointSize(chosen) >= pointSize(other), qPrintable(QString::number(size)));
                // Portrait unless landscape gains.
                if (pointSize(QPageLayout::Portrait) == pointSize(QPageLayout::Landscape)) {
                    QCOMPARE(chosen, QPageLayout::Portrait);
                }
            }
        }
    }

    // pdftotext reads back each page of the export on a sheet of its own, columns in place.
    void thePdfHoldsThePagesLineForLine_data() {
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<bool>("nameOnly");
        QTest::addColumn<int>("sheetSize");
        QTest::newRow("hex, A4") << false << false << int(QPageSize::A4);
        QTest::newRow("decimal, A5") << true << false << int(QPageSize::A5);
        QTest::newRow("names only, Letter") << false << true << int(QPageSize::Letter);
    }

    void thePdfHoldsThePagesLineForLine() {
        QFETCH(bool, decimal);
        QFETCH(bool, nameOnly);
        QFETCH(int, sheetSize);
        const std::vector<std::string> pages =
            pagesOf(80, 5, decimal, nameOnly ? qel::nameOnly() : ExportColumns{});
        QCOMPARE(pages.size(), std::size_t{4});
        QPageLayout layout =
            sheet(static_cast<QPageSize::PageSizeId>(sheetSize), QPageLayout::Portrait);
        layout.setOrientation(betterOrientation(pages, layout));
        const QByteArray pdf = pdfDocument(pages, layout, QStringLiteral("list.dvb"));
        QTemporaryDir dir;
        const QString path = dir.filePath("list.pdf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pdf);
        file.close();

        QCOMPARE(test::pdfPageCount(path.toStdString()), 4);
        const test::PageLines shown = test::pdfPages(path.toStdString());
        std::vector<std::string> utf8;
        for (const std::string& page : pages)
            utf8.push_back(latin1ToUtf8(page));
        const test::PageLines expected = test::expectedPages(utf8);
        QCOMPARE(shown.size(), expected.size());
        for (std::size_t p = 0; p < expected.size(); ++p) {
            QCOMPARE(shown[p].size(), expected[p].size());
            for (std::size_t i = 0; i < expected[p].size(); ++i)
                QCOMPARE(QString::fromStdString(shown[p][i]),
                         QString::fromStdString(expected[p][i]));
        }
    }

    void aPdfFileIsWrittenThroughTheSafeSave() {
        QTemporaryDir dir;
        const std::vector<std::string> pages = pagesOf(36, 0, false);
        const std::string path = dir.filePath("out.pdf").toStdString();
        QVERIFY(writePdfFile(pages, path, "list.dvb").ok());
        QCOMPARE(test::pdfPageCount(path), 2);
        QCOMPARE(test::pdfInfo(path, "Title"), std::string("list.dvb"));
        // A folder where the file should be is refused, and stays.
        const std::string folder = dir.filePath("taken.pdf").toStdString();
        QVERIFY(QDir().mkdir(QString::fromStdString(folder)));
        const Status st = writePdfFile(pages, folder, "list.dvb");
        QCOMPARE(st.error(), ErrorCode::CannotWriteFile);
        QVERIFY(QFileInfo(QString::fromStdString(folder)).isDir());
    }
};

}  // namespace qel

QTEST_MAIN(qel::PagePrinterTest)
#include "page_printer_test.moc"
