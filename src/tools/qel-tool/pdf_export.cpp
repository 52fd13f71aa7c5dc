#include "pdf_export.h"

#ifdef QEL_TOOL_PDF
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "print/page_printer.h"
#endif

namespace qel::tool {

#ifdef QEL_TOOL_PDF

bool canWritePdf() {
    return true;
}

namespace {

// Qt's notices about the desktop it finds (no runtime folder, no display) say nothing about
// the PDF; its critical messages still reach stderr.
void criticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "qel-tool: %s\n", qPrintable(message));
    }
}

}  // namespace

Status writePdf(const std::vector<std::string>& pages, const std::string& path,
                const std::string& title) {
    qInstallMessageHandler(criticalOnly);
    // Fonts need a Qt application. On Linux the offscreen platform, which needs no display;
    // on Windows the system's own, which needs none either and knows the system's fonts (the
    // offscreen one there looks for fonts only in Qt's folder). Qt keeps the arguments for
    // the application's life.
    static char name[] = "qel-tool";
    static char platformOption[] = "-platform";
#ifdef _WIN32
    static char platform[] = "windows";
#else
    static char platform[] = "offscreen";
#endif
    static char* argv[] = {name, platformOption, platform, nullptr};
    static int argc = 3;
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr)
        app = std::make_unique<QGuiApplication>(argc, argv);
    return writePdfFile(pages, path, QString::fromStdString(title));
}

#else

bool canWritePdf() {
    return false;
}

Status writePdf(const std::vector<std::string>&, const std::string&, const std::string&) {
    return ErrorCode::UnsupportedFileType;
}

#endif

}  // namespace qel::tool
