#include "ui/texts.h"

namespace qel {

QString Texts::Error(ErrorCode code, const QString& path) {
    const QString inFile = path.isEmpty() ? QString() : QStringLiteral("\n") + path;
    switch (code) {
        case ErrorCode::CannotOpenFile:
            return tr("Cannot open the file") + inFile;
        case ErrorCode::CannotWriteFile:
            return tr("Cannot write the file") + inFile;
        case ErrorCode::FileTooLarge:
            return tr("File too large") + inFile;
        case ErrorCode::WrongFileLength:
            return tr("Wrong file lenght");
        case ErrorCode::NoDvb98Settings:
            return tr("No DVB98 settings loaded");
        case ErrorCode::TooManyChannelsDvb:
            return tr("Too many channels for DVB 98 : no Upload/Save ");
        case ErrorCode::TooManyChannelsFta:
            return tr("Too many channels for FTA : no Upload/Save ");
        case ErrorCode::UnsupportedFileType:
            return tr("Unsupported file type") + inFile;
    }
    return QString();
}

QString Texts::FromLatin1(std::string_view text) {
    QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QChar(0), QChar(' '));
    return s;
}

std::string Texts::ToLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace qel
