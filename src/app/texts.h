// Messages shared by several windows, in the language in use, and the conversions of the
// core's 8-bit texts.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

#include "model/errors.h"

namespace qel {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(Texts)

public:
    // The message for an error a reader, writer, command or exchange returned, translated
    // from the core's one table of texts; `path` names the file for the errors that
    // concern one, and a detail the error carries follows on a line of its own (a failed
    // save's reason translated).
    static QString errorMessage(ErrorCode code, const QString& path = QString());
    static QString errorMessage(const Status& status, const QString& path = QString());

    // 8-bit text of a channel or file as shown: Latin-1, code 0 as a blank.
    static QString fromLatin1(std::string_view text);
    static std::string toLatin1(const QString& text);
};

}  // namespace qel
