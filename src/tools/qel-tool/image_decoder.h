// Image files as pixels for the boot picture: with Qt's image readers (PNG, JPEG, BMP, ...)
// when the tool is built with Qt, otherwise the BMP files the core reads itself.
#pragma once

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

}  // namespace qel::tool
