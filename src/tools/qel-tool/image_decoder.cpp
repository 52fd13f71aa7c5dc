#include "image_decoder.h"

#ifdef QEL_TOOL_QT_IMAGES
#include <QImage>
#endif

namespace qel::tool {

#ifdef QEL_TOOL_QT_IMAGES

Result<Pixels> decodeImage(std::string_view bytes) {
    QImage image;
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX) ||
        !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()))) {
        return Error{ErrorCode::WrongPictureFile, "not an image Qt reads"};
    }
    if (image.width() > kMaxImageSide || image.height() > kMaxImageSide ||
        std::int64_t{image.width()} * image.height() > kMaxImagePixels) {
        return Error{ErrorCode::WrongPictureFile, "an image of " + std::to_string(image.width()) +
                                                      " x " + std::to_string(image.height())};
    }
    image.convertTo(QImage::Format_ARGB32);
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

}  // namespace qel::tool
