#include "image/qt_image.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdint>
#include <string>

#include "files/boot_picture.h"

namespace qel {

namespace {

// Qt's image readers read on where the data is damaged and only warn ("Corrupt JPEG data:
// premature end of data segment"). While one lives, the warnings of this thread are kept,
// not printed; the rest go on to the handler before it.
class ReaderWarnings {
public:
    ReaderWarnings() {
        active_ = this;
        previous_ = qInstallMessageHandler(&ReaderWarnings::handle);
    }
    ~ReaderWarnings() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
    }
    ReaderWarnings(const ReaderWarnings&) = delete;
    ReaderWarnings& operator=(const ReaderWarnings&) = delete;

    // The first warning, empty when there was none.
    const QString& first() const { return first_; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (active_ != nullptr && (type == QtWarningMsg || type == QtCriticalMsg)) {
            // Stray bytes between JPEG markers, common in cameras' files, leave the picture whole.
            if (text.contains(QLatin1String("extraneous bytes"))) return;
            if (active_->first_.isEmpty()) active_->first_ = text.isEmpty() ? "?" : text;
            return;
        }
        if (previous_ != nullptr) previous_(type, context, text);
    }

    static thread_local ReaderWarnings* active_;
    static inline QtMessageHandler previous_ = nullptr;
    QString first_;
};

thread_local ReaderWarnings* ReaderWarnings::active_ = nullptr;

std::string sizeText(const QSize& size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

bool tooLargeToConvert(const QSize& size) {
    return size.width() > kMaxImageSide || size.height() > kMaxImageSide ||
           std::int64_t{size.width()} * size.height() > kMaxImagePixels;
}

}  // namespace

Result<QImage> readQtImage(const QByteArray& bytes, bool autoTransform) {
    // Qt's BMP reader fills the rows a cut file lacks with whatever it has.
    if (bmpCutShort(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        return Error{ErrorCode::ImageDamaged, "the BMP pixels do not fit in the file"};
    }
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(autoTransform);
    if (!reader.canRead()) return Error{ErrorCode::WrongPictureFile, "not an image Qt reads"};
    const QSize size = reader.size();
    if (tooLargeToConvert(size)) {
        return Error{ErrorCode::WrongPictureFile, "an image of " + sizeText(size)};
    }
    QImage image;
    QString warning;
    bool read = false;
    {
        const ReaderWarnings warnings;
        read = reader.read(&image);
        warning = warnings.first();
    }
    // Qt refuses an image whose pixels would take more than its allocation limit.
    const std::int64_t limit = std::int64_t{QImageReader::allocationLimit()} << 20;
    if (!read && limit > 0 && size.isValid() &&
        std::int64_t{size.width()} * size.height() * 4 > limit) {
        return Error{ErrorCode::ImageTooLarge,
                     sizeText(size) + " > " + std::to_string(limit >> 20) + " MB"};
    }
    if (!read || image.isNull()) {
        return Error{ErrorCode::ImageDamaged, reader.errorString().toStdString()};
    }
    if (!warning.isEmpty()) return Error{ErrorCode::ImageDamaged, warning.toStdString()};
    if (tooLargeToConvert(image.size())) {
        return Error{ErrorCode::WrongPictureFile, "an image of " + sizeText(image.size())};
    }
    return image;
}

}  // namespace qel
