// Image files read with Qt's image readers (PNG, JPEG, BMP, ...) for the boot picture, by
// the picture dialog and qel-tool alike: refused when damaged, too large for the conversion
// or beyond what Qt's readers allocate.
#pragma once

#include <QByteArray>
#include <QImage>

#include "model/errors.h"

namespace qel {

// WrongPictureFile for bytes that are no image Qt reads, or a larger one than the conversion
// takes; ImageDamaged for an image its reader finds cut short or corrupt (Qt's readers warn
// and go on; their warning is the detail); ImageTooLarge for one beyond Qt's allocation limit
// (QImageReader::allocationLimit, 128 MB unless QT_IMAGEIO_MAXALLOC says otherwise).
// `autoTransform` turns a photo as its orientation tag says.
Result<QImage> readQtImage(const QByteArray& bytes, bool autoTransform);

}  // namespace qel
