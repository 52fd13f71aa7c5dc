// The File menu's Print and Export as PDF: the headed export's pages, laid out one on each
// sheet with the Export window's choices (or those it opens with), shown in a print preview
// the user prints from, or written as a PDF file.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/export_controller.h"
#include "app/prompter.h"

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace qel {

class PrintCommands : public QObject {
    Q_OBJECT

public:
    // `options` gives the export choices in force; `owner` the window a dialog goes over.
    PrintCommands(ExportController& exporter, Session& session, Prompter& prompter,
                  FileChooser& chooser, std::function<ExportOptions()> options,
                  std::function<QWidget*()> owner, QObject* parent = nullptr);
    ~PrintCommands() override;

    // Opens the print preview of the pages, on the sheet orientation that prints them
    // larger; printing starts from there. The preview closes itself; while it is open the
    // command brings it to the front.
    QPrintPreviewDialog* print();
    // Asks for the PDF file (the loaded file's name with ".pdf") and writes it.
    void exportPdf();

private:
    void paint(QPrinter* printer);

    ExportController& exporter_;
    Session& session_;
    Prompter& prompter_;
    FileChooser& chooser_;
    std::function<ExportOptions()> options_;
    std::function<QWidget*()> owner_;
    // One printer for the program's life: the printer and sheet the user chose stay chosen.
    std::unique_ptr<QPrinter> printer_;
    QPointer<QPrintPreviewDialog> preview_;
    std::vector<std::string> pages_;
};

}  // namespace qel
