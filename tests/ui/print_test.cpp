// Print and Export as PDF over the whole program (when they are offered is main_window_test's
// table): the preview with one sheet for each page of the export, and the PDF of the choices in
// force (the Export window's while it is open), in both languages.
#include <QCheckBox>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>

#include "support/pdf_text.h"
#include "ui/export_window.h"
#include "ui/print_commands.h"
#include "ui_fixture.h"

namespace qel {

namespace {

struct Printing : test::UiFixture {
    // The open preview, found by its type: it goes over the program's frame.
    QPrintPreviewDialog* preview() { return frame().findChild<QPrintPreviewDialog*>(); }
};

// The PDF's lines, pages joined, as pdftotext shows them.
std::vector<std::string> pdfLines(const QString& path) {
    std::vector<std::string> all;
    for (const auto& page : test::pdfPages(path.toStdString()))
        all.insert(all.end(), page.begin(), page.end());
    return all;
}

std::vector<std::string> exportLines(const std::vector<std::string>& pages) {
    std::vector<std::string> all;
    for (const std::string& page : pages) {
        const std::vector<std::string> lines = test::shownLines(latin1ToUtf8(page));
        all.insert(all.end(), lines.begin(), lines.end());
    }
    return all;
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlPOpensThePreviewWithAPageForEachExportPage_data() {
        QTest::addColumn<int>("tv");
        QTest::addColumn<int>("radio");
        QTest::addColumn<int>("pages");
        QTest::newRow("80 TV, 5 RADIO") << 80 << 5 << 4;
        QTest::newRow("35 TV") << 35 << 0 << 1;
        QTest::newRow("36 TV, 36 RADIO") << 36 << 36 << 4;
    }

    void ctrlPOpensThePreviewWithAPageForEachExportPage() {
        QFETCH(int, tv);
        QFETCH(int, radio);
        QFETCH(int, pages);
        Printing f;
        // Ctrl+P with nothing to print opens nothing.
        QVERIFY(f.form->handleKeyPress(Qt::Key_P, Qt::ControlModifier));
        QVERIFY(f.preview() == nullptr);
        QVERIFY(f.load(f.dvb("mine.dvb", tv, radio)));
        QVERIFY(f.form->handleKeyPress(Qt::Key_P, Qt::ControlModifier));
        QPrintPreviewDialog* preview = f.preview();
        QVERIFY(preview != nullptr);
        QVERIFY(preview->isVisible());
        // The lists the pages show cannot change under the open preview.
        QCOMPARE(preview->windowModality(), Qt::WindowModal);
        QCOMPARE(preview->windowTitle(), QString("QEL - Print preview"));
        auto* sheets = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(sheets != nullptr);
        QTRY_COMPARE(sheets->pageCount(), pages);
        // A second Ctrl+P brings the open preview forward.
        f.action("PrintList")->trigger();
        QCOMPARE(f.program->frame().findChildren<QPrintPreviewDialog*>().size(), 1);
        preview->close();
        QTRY_VERIFY(f.preview() == nullptr);
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void theFileMenuWritesThePdfOfTheChoicesInForce_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("exportWindow");
        for (const char* language : {"ENG", "ITA"}) {
            for (const bool window : {false, true}) {
                QTest::addRow("%s, %s", language, window ? "Export window open" : "no window")
                    << language << window;
            }
        }
    }

    void theFileMenuWritesThePdfOfTheChoicesInForce() {
        QFETCH(QString, language);
        QFETCH(bool, exportWindow);
        const bool it = language == "ITA";
        Printing f;
        f.language.apply(language);
        QVERIFY(f.load(f.dvb("mine.dvb", 80, 5)));
        ExportOptions options = f.program->exporter().startingOptions();
        if (exportWindow) {
            auto* w = f.openTab<ExportWindow>(Tab::Export);
            QVERIFY(w != nullptr);
            w->findChild<QComboBox*>("Hexdec")->setCurrentIndex(1);
            w->findChild<QCheckBox*>("Exsr")->setChecked(false);
            options = w->options();
            QVERIFY(options.decimal && !options.columns.symbolRate);
        }
        const QString path = f.dir.filePath("printed.pdf");
        f.chooser.choose(path);
        f.action("ExportPDF")->trigger();

        QCOMPARE(f.chooser.asked.size(), 2);  // the load, then the PDF
        QVERIFY(f.chooser.asked[1].save);
        QCOMPARE(f.chooser.asked[1].proposed, QString("mine.pdf"));
        QCOMPARE(f.prompter.texts(),
                 QStringList{it ? "Esportazione su file completata" : "Export completed"});
        // The PDF holds the export's pages line for line (how a page is laid out on a sheet
        // is the page printer tests'), in the language in use and of the window's choices.
        QCOMPARE(test::pdfPageCount(path.toStdString()), 4);
        const std::vector<std::string> shown = pdfLines(path);
        QCOMPARE(shown, exportLines(f.program->exporter().printedPages(options)));
        QVERIFY(shown.size() > 3);
        QVERIFY2(shown[0].ends_with(it ? "    Pagina  1/4" : "    Page  1/4"), shown[0].c_str());
        const char* decimalNote =
            it ? "Tutti i valori sono in formato decimale" : "All values are in decimal format";
        QCOMPARE(shown[2] == decimalNote, exportWindow);
    }

    void aCancelledOrFailedPdfLeavesNothingBehind() {
        Printing f;
        QVERIFY(f.load(f.dvb("mine.dvb", 3, 1)));
        f.chooser.choose(QString());
        f.action("ExportPDF")->trigger();
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(!QFileInfo::exists(f.dir.filePath("mine.pdf")));

        const QString folder = f.dir.filePath("taken.pdf");
        QVERIFY(QDir().mkdir(folder));
        f.chooser.choose(folder);
        f.action("ExportPDF")->trigger();
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].icon, Prompter::Icon::Critical);
        QVERIFY2(f.prompter.asked[0].text.contains("taken.pdf"),
                 qPrintable(f.prompter.asked[0].text));
        QVERIFY(QFileInfo(folder).isDir());
    }
};

}  // namespace qel

QTEST_MAIN(qel::PrintTest)
#include "print_test.moc"
