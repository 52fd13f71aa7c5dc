// The pages of the headed text export on paper or in a PDF: each page of the export on a
// sheet of its own, in a monospaced font as large as lets every page's widest line and all
// its lines fit the sheet, up to a size that reads well. The printer, the print preview and
// the PDF file all lay the pages out here, for the sheet they have.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"

class QPagedPaintDevice;
class QPaintDevice;

namespace qel {

// Larger type would only leave the sheet emptier.
inline constexpr qreal kMaxPrintPointSize = 12;

// One line of a page as printed: its bytes as Latin-1 characters, a control code as a blank
// so that the columns after it keep their places.
QString printedLine(std::string_view bytes);

// The font the pages are printed in on `device`: monospaced, one size for every page, the
// largest (up to kMaxPrintPointSize) at which each page fits the device's paintable area.
QFont printFont(const std::vector<std::string>& pages, const QPaintDevice& device);

// Paints the pages on `device`, the first on the sheet it stands on, each further one on a
// new sheet. CannotWriteFile when the device cannot be painted on (a printer that does not
// start, a file it cannot write).
Status printPages(const std::vector<std::string>& pages, QPagedPaintDevice& device);

// The orientation of `layout` in which the pages are printed larger: portrait unless
// landscape gives a larger font.
QPageLayout::Orientation betterOrientation(const std::vector<std::string>& pages,
                                           QPageLayout layout);

// The sheet of a PDF: A4 with 15 mm margins, in the better orientation for the pages.
QPageLayout pdfPageLayout(const std::vector<std::string>& pages);

// The pages as a PDF document with that title, on the sheets of `layout`.
QByteArray pdfDocument(const std::vector<std::string>& pages, const QPageLayout& layout,
                       const QString& title);

// Writes the pages as a PDF file through the program's safe save (a temporary file renamed
// over the target), on the sheets pdfPageLayout gives.
Status writePdfFile(const std::vector<std::string>& pages, const std::string& path,
                    const QString& title);

}  // namespace qel
