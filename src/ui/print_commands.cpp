#include "ui/print_commands.h"

#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/texts.h"
#include "print/page_printer.h"

namespace qel {

PrintCommands::PrintCommands(ExportController& exporter, Session& session, Prompter& prompter,
                             FileChooser& chooser, std::function<ExportOptions()> options,
                             std::function<QWidget*()> owner, QObject* parent)
    : QObject(parent),
      exporter_(exporter),
      session_(session),
      prompter_(prompter),
      chooser_(chooser),
      options_(std::move(options)),
      owner_(std::move(owner)) {}

PrintCommands::~PrintCommands() {
    // The preview paints with the printer: it goes first.
    delete preview_.data();
}

QPrintPreviewDialog* PrintCommands::print() {
    if (preview_ != nullptr) {
        preview_->raise();
        preview_->activateWindow();
        return preview_;
    }
    pages_ = exporter_.printedPages(options_());
    if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setDocName(exporter_.documentTitle());
    printer_->setPageOrientation(betterOrientation(pages_, printer_->pageLayout()));
    auto* preview = new QPrintPreviewDialog(printer_.get(), owner_());
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(tr("QEL - Print preview"));
    connect(preview, &QPrintPreviewDialog::paintRequested, this, &PrintCommands::paint);
    preview_ = preview;
    // Window-modal: the lists the pages show stay as they are while it is open.
    preview->open();
    return preview;
}

void PrintCommands::paint(QPrinter* printer) {
    if (Status st = printPages(pages_, *printer); !st) {
        const QString target = printer->outputFileName().isEmpty() ? printer->printerName()
                                                                   : printer->outputFileName();
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(st, target));
    }
}

void PrintCommands::exportPdf() {
    const QString path =
        chooser_.saveFile(session_.workingDir(), exporter_.pdfName(), tr("PDF documents (*.pdf)"));
    if (path.isEmpty()) return;
    const Status st =
        writePdfFile(exporter_.printedPages(options_()), QFile::encodeName(path).toStdString(),
                     exporter_.documentTitle());
    if (!st) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(st, path));
        return;
    }
    prompter_.tell(Prompter::Icon::Information, tr("Export completed"));
}

}  // namespace qel
