#include "image_decoder.h"

#include "files/file_io.h"

#ifdef QEL_TOOL_QT_IMAGES
#include "image/qt_image.h"
#endif

namespace qel::tool {

#ifdef QEL_TOOL_QT_IMAGES

Result<Pixels> decodeImage(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return Error{ErrorCode::WrongPictureFile, "not an image Qt reads"};
    }
    const Result<QImage> read = readQtImage(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), false);
    if (!read) return read.status();
    const QImage image = read->convertToFormat(QImage::Format_ARGB32);
    Pixels pixels{image.width(), image.height(), {}};
    pixels.argb.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        pixels.argb.insert(pixels.argb.end(), row, row + image.width());
    }
    return pixels;
}

#else

Result<Pixels> decodeImage(std::string_view bytes) {
    return readBmp(bytes);
}

#endif

Result<std::string> convertedPicture(const std::string& path) {
    auto bytes = readFileBytes(path, kMaxImageFileSize);
    if (!bytes) return bytes.status();
    auto pixels = decodeImage(*bytes);
    if (!pixels) return pixels.status();
    return convertToBootPicture(*pixels);
}

}  // namespace qel::tool
