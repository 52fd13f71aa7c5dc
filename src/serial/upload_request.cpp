#include "serial/upload_request.h"

#include "files/dvb_file.h"
#include "files/font_file.h"
#include "files/fta_writer.h"

namespace qel {

BuiltUpload buildUploadRequest(const Workspace& ws, const UploadParts& parts, FileKind channelKind,
                               int systemFontSet, bool backup, bool verify) {
    BuiltUpload built;
    UploadRequest& request = built.request;
    request.backup = backup;
    request.verify = verify;
    if (parts.channels) {
        request.channels = true;
        request.channelKind = channelKind;
        request.channelCount = ws.channelCount();
        if (channelKind == FileKind::DVB) {
            if (ws.channelCount() <= kMaxDvb98Channels)
                request.channelImage = encodeDvb(ws.tvList(), ws.radioList());
        } else if (channelKind == FileKind::BIN) {
            const TvRadioLists lists = normalizeForFtaImage(ws.tvList(), ws.radioList());
            Result<std::string> image =
                ws.fileType() == FileKind::BIN
                    ? imageOfLoadedFile(lists.tv, lists.radio, ws.imageTables())
                    : encodeFtaImage(lists.tv, lists.radio, ws.imageTables(),
                                     ImageSettings::Defaults);
            if (image) {
                request.channelImage = std::move(image.value());
            } else {
                built.channelsRefused = image.status();
                request.channels = false;
            }
        }
    }
    if (parts.settings) {
        request.settings = true;
        if (ws.settingsLoaded()) request.settingsImage = ws.settingsImage();
    }
    const std::optional<FontType> font = ws.fontType();
    if (parts.systemFont) {
        request.systemFont = true;
        if (font && isSystemFont(*font)) {
            const int set = fontSetCount(*font) == 2 ? systemFontSet : 0;
            request.systemFontSet = std::string(qel::systemFontSet(ws.fontData(), *font, set));
        }
    }
    if (parts.teletextFont) {
        request.teletextFont = true;
        if (font == FontType::Teletext) request.teletextFontData = ws.fontData();
    }
    return built;
}

}  // namespace qel
