// What an upload sends, built from a document: the program's serial window and qel-tool build
// their requests here, so the same document sends the same bytes from both.
#pragma once

#include "model/errors.h"
#include "model/workspace.h"
#include "serial/upload.h"

namespace qel {

// The parts an upload is asked to send.
struct UploadParts {
    bool channels = false;
    bool settings = false;
    bool systemFont = false;
    bool teletextFont = false;
};

// A request and why its channel part was left out.
struct BuiltUpload {
    UploadRequest request;
    // The FTA image writer refused the lists: the channel part is left out of the request.
    Status channelsRefused;
    bool sendsAnything() const {
        return request.channels || request.settings || request.systemFont || request.teletextFont;
    }
};

// The request for `parts` from what `ws` holds, with the backup and the check asked for:
//  - the channels in `channelKind` (None when nothing is loaded): DVB98 records, none built
//    for more than kMaxDvb98Channels (the check refuses them anyway); or the FTA image saving
//    would write (a loaded image's own bytes while nobody changed it), a DVB98 list getting
//    the default settings as converting it does;
//  - the settings image when settings are loaded;
//  - the set `systemFontSet` (0 or 1) of a loaded system font, its first of a one-set font;
//  - a loaded teletext font.
// A part asked for stays in the request without its bytes when the document lacks them, so
// that upload() refuses it as its check says.
BuiltUpload buildUploadRequest(const Workspace& ws, const UploadParts& parts, FileKind channelKind,
                               int systemFontSet, bool backup, bool verify);

}  // namespace qel
