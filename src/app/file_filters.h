// The file dialogs' filters in the language in use, and the extensions the dialogs add to
// names, made from the file-format registry.
#pragma once

#include <QString>

#include "files/file_formats.h"

namespace qel {

// "Dr.Vellox settings (*.dvb )": the filter a dialog reading a file of the format shows.
QString openFilter(FileFormatId id);
// The filter of an export's dialog: "Text files (*.txt)".
QString saveFilter(FileFormatId id);
// The document formats that hold `content` (not the imports), in the registry's order, as
// the load and save dialogs list them: "Dr.Vellox settings (*.dvb );;Settings Files (*.bin)".
QString documentFilter(FileContent content);

// Every format channels are read from, imports included: first one filter that shows them
// all ("Channel files (*.dvb *.bin *.txt *.csv)"), then each format's own.
QString channelFilesFilter();

// The format's extension with its dot: ".g98".
QString dottedExtension(FileFormatId id);

}  // namespace qel
