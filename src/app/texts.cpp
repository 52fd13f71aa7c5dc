#include "app/texts.h"

namespace qel {

QString Texts::errorMessage(ErrorCode code, const QString& path) {
    const std::string_view english = errorText(code);
    QString text = QCoreApplication::translate(kErrorTextContext, std::string(english).c_str());
    if (errorNamesFile(code) && !path.isEmpty()) text += QStringLiteral("\n") + path;
    return text;
}

QString Texts::errorMessage(const Status& status, const QString& path) {
    QString text = errorMessage(status.error(), path);
    if (status.detail().empty()) return text;
    // A failed save's detail is the system's reason, translated like the error texts.
    const bool reason = status.error() == ErrorCode::CannotWriteFile ||
                        status.error() == ErrorCode::SaveOntoBrokenLink;
    return text + QStringLiteral("\n") +
           (reason ? QCoreApplication::translate(kErrorTextContext, status.detail().c_str())
                   : fromLatin1(status.detail()));
}

QString Texts::fromLatin1(std::string_view text) {
    QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QChar(0), QChar(' '));
    return s;
}

std::string Texts::toLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace qel
