// The boot picture before it goes up: any image Qt reads becomes the receiver's 280 × 240,
// 16-colour bitmap (a bitmap of exactly that size is taken as it is), and the dialog shows the
// original beside what the receiver will show, with Send, Save bitmap and Cancel.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <string>

#include "app/prompter.h"
#include "model/errors.h"

class QLabel;

namespace qel {

struct PreparedPicture {
    std::string file;        // the 33718 bytes that go up
    QImage original;         // the image as chosen
    QImage converted;        // what the receiver shows
    bool unchanged = false;  // the chosen file goes up byte for byte
};

// Reads `path`: a 33718-byte file is taken unchanged; any other image Qt reads is converted.
// WrongPictureFile when it is neither, ImageDamaged for an image its reader finds cut short
// or corrupt, ImageTooLarge for one beyond Qt's allocation limit.
Result<PreparedPicture> preparePicture(const QString& path);

class PictureDialog : public QDialog {
    Q_OBJECT

public:
    PictureDialog(const PreparedPicture& picture, const QString& sourcePath, Prompter& prompter,
                  FileChooser& chooser, QWidget* parent = nullptr);

    // Writes the bitmap that goes up into a file the user chooses.
    void saveBitmap();

private:
    const PreparedPicture& picture_;
    QString sourcePath_;
    Prompter& prompter_;
    FileChooser& chooser_;
};

}  // namespace qel
