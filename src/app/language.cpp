#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace qel {

void Language::apply(const QString& code) {
    const bool italian = !isEnglish(code);
    if (italian == installed_) return;
    if (italian) {
        if (program_.isEmpty()) (void)program_.load(QStringLiteral(":/i18n/qel_it.qm"));
        if (qt_.isEmpty()) {
            (void)qt_.load(QStringLiteral("qtbase_it"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        }
        QCoreApplication::installTranslator(&qt_);
        QCoreApplication::installTranslator(&program_);
    } else {
        QCoreApplication::removeTranslator(&program_);
        QCoreApplication::removeTranslator(&qt_);
    }
    installed_ = italian;
}

}  // namespace qel
