// Messages shared by several windows, in the language in use.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

#include "model/errors.h"

namespace qel {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(Texts)

public:
    // The message for an error a reader, writer or command returned; `path` names the
    // file for the errors that concern one.
    static QString Error(ErrorCode code, const QString& path = QString());

    // 8-bit text of a channel or file as shown: Latin-1, code 0 as a blank.
    static QString FromLatin1(std::string_view text);
    static std::string ToLatin1(const QString& text);
};

}  // namespace qel
