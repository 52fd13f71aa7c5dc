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
    if (!status.detail().empty()) text += QStringLiteral("\n") + fromLatin1(status.detail());
    return text;
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
