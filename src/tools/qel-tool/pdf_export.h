// The text export as a PDF file, when the tool is built with Qt: Qt lays the pages out, on
// its "offscreen" platform, so no display is needed. Without Qt the tool writes no PDF.
#pragma once

#include <string>
#include <vector>

#include "model/errors.h"

namespace qel::tool {

// Whether this build of the tool writes PDF files.
bool canWritePdf();

// Writes the headed export's pages as a PDF with that title, one page on each sheet, through
// the program's safe save. Only when canWritePdf().
Status writePdf(const std::vector<std::string>& pages, const std::string& path,
                const std::string& title);

}  // namespace qel::tool
