// Image files as pixels for the boot picture: with Qt's image readers (PNG, JPEG, BMP, ...)
// when the tool is built with Qt, otherwise the BMP files the core reads itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/boot_picture.h"
#include "model/errors.h"

namespace qel::tool {

// WrongPictureFile for bytes that are no image the tool can read, or a larger one than the
// conversion takes; ImageDamaged for an image its reader finds cut short or corrupt (Qt's
// readers warn and go on; their warning is the detail); ImageTooLarge for one beyond Qt's
// allocation limit (QImageReader::allocationLimit, 128 MB unless QT_IMAGEIO_MAXALLOC says
// otherwise).
Result<Pixels> decodeImage(std::string_view bytes);

// No image a boot picture is made from comes near this.
constexpr std::size_t kMaxImageFileSize = std::size_t{256} << 20;

// The boot picture the image file at `path` makes.
Result<std::string> convertedPicture(const std::string& path);

// The images the tool reads, as its usage says.
#ifdef QEL_TOOL_QT_IMAGES
#define QEL_TOOL_IMAGES_READ "any image Qt reads"
#else
#define QEL_TOOL_IMAGES_READ "a BMP file"
#endif

}  // namespace qel::tool
