#include "ui/picture_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/texts.h"
#include "files/boot_picture.h"
#include "files/file_io.h"
#include "image/qt_image.h"

namespace qel {

namespace {

// No picture file comes near this; larger ones are not read at all.
constexpr qint64 kMaxPictureFileSize = 64 * 1024 * 1024;

QImage imageOf(const Pixels& pixels) {
    QImage image(pixels.width, pixels.height, QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height; ++y) {
        const auto* row = pixels.argb.data() + static_cast<std::size_t>(y) * pixels.width;
        std::copy(row, row + pixels.width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    }
    return image;
}

Pixels pixelsOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    Pixels p;
    p.width = image.width();
    p.height = image.height();
    p.argb.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::copy(row, row + p.width, p.argb.begin() + static_cast<std::ptrdiff_t>(y) * p.width);
    }
    return p;
}

// The image in `bytes`, refused when its reader finds it damaged or it is beyond what Qt's
// readers allocate; only the allocation limit's refusal keeps its detail (the sizes).
Result<QImage> readImage(const QByteArray& bytes) {
    Result<QImage> image = readQtImage(bytes, true);
    if (!image && image.error() != ErrorCode::ImageTooLarge) return Status(image.error());
    return image;
}

QLabel* framed(const QImage& image, QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // Shown twice as large, pixel for pixel, as the receiver's screen would enlarge it.
    const QImage shown =
        image.width() <= kBootPictureWidth && image.height() <= kBootPictureHeight
            ? image.scaled(image.size() * 2, Qt::KeepAspectRatio, Qt::FastTransformation)
            : image.scaled(QSize(kBootPictureWidth, kBootPictureHeight) * 2, Qt::KeepAspectRatio,
                           Qt::SmoothTransformation);
    label->setPixmap(QPixmap::fromImage(shown));
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(QSize(kBootPictureWidth, kBootPictureHeight) * 2 + QSize(4, 4));
    return label;
}

}  // namespace

Result<PreparedPicture> preparePicture(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxPictureFileSize)
        return Status(ErrorCode::WrongPictureFile);
    const QByteArray bytes = f.readAll();
    PreparedPicture p;
    if (bytes.size() == static_cast<qsizetype>(kBootPictureFileSize)) {
        // A file of the boot picture's size goes up as it is, whatever it holds.
        p.file = bytes.toStdString();
        p.unchanged = true;
        Result<Pixels> shown = readBootPicture(p.file);
        if (shown) p.converted = imageOf(*shown);
        p.original = p.converted;
        return p;
    }
    Result<QImage> original = readImage(bytes);
    if (!original) return original.status();
    p.original = std::move(original.value());
    Result<std::string> converted = convertToBootPicture(pixelsOf(p.original));
    if (!converted) return converted.status();
    p.file = std::move(converted.value());
    Result<Pixels> shown = readBootPicture(p.file);
    if (!shown) return shown.status();
    p.converted = imageOf(*shown);
    return p;
}

PictureDialog::PictureDialog(const PreparedPicture& picture, const QString& sourcePath,
                             Prompter& prompter, FileChooser& chooser, QWidget* parent)
    : QDialog(parent),
      picture_(picture),
      sourcePath_(sourcePath),
      prompter_(prompter),
      chooser_(chooser) {
    setObjectName("PictureDialog");
    setWindowTitle(tr("Boot picture") + QStringLiteral(" - ") + QFileInfo(sourcePath).fileName());
    auto* grid = new QGridLayout(this);
    int column = 0;
    if (!picture.unchanged) {
        grid->addWidget(new QLabel(tr("Your picture"), this), 0, column);
        grid->addWidget(framed(picture.original, this, "Original"), 1, column++);
    }
    grid->addWidget(
        new QLabel(picture.unchanged ? tr("The bitmap goes up as it is (280 x 240, 16 colours)")
                                     : tr("What the receiver shows (280 x 240, 16 colours)"),
                   this),
        0, column);
    grid->addWidget(framed(picture.converted, this, "Converted"), 1, column);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* send = buttons->addButton(tr("Send"), QDialogButtonBox::AcceptRole);
    send->setObjectName("SendPicture");
    send->setDefault(true);
    QPushButton* save = buttons->addButton(tr("Save bitmap..."), QDialogButtonBox::ActionRole);
    save->setObjectName("SaveBitmap");
    save->setEnabled(!picture.unchanged);
    buttons->addButton(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    grid->addWidget(buttons, 2, 0, 1, column + 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &PictureDialog::saveBitmap);
}

void PictureDialog::saveBitmap() {
    const QFileInfo source(sourcePath_);
    const QString path =
        chooser_.saveFile(source.absolutePath(), source.completeBaseName() + QStringLiteral(".bmp"),
                          tr("Bitmaps (*.bmp)"));
    if (path.isEmpty()) return;
    const Status st = writeFileAtomic(QFile::encodeName(path).toStdString(), picture_.file);
    if (!st) prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(st, path));
}

}  // namespace qel
