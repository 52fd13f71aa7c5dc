#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "app/app_paths.h"

namespace qel {

void Language::apply(const QString& code) {
    const bool italian = !isEnglish(code);
    if (italian == installed_) return;
    if (italian) {
        if (program_.isEmpty()) {
            // An installed copy first, as for the help; else the one built in.
            const QString supplied =
                AppPaths::findSupplied(QStringLiteral("translations/qel_it.qm"));
            if (supplied.isEmpty() || !program_.load(supplied)) {
                (void)program_.load(QStringLiteral(":/i18n/qel_it.qm"));
            }
        }
        if (qt_.isEmpty()) {
            // Qt's own texts (the standard buttons): beside the program where Qt is built in,
            // as on Windows, else where the system's Qt keeps them.
            const QString supplied =
                AppPaths::findSupplied(QStringLiteral("translations/qtbase_it.qm"));
            if (supplied.isEmpty() || !qt_.load(supplied)) {
                (void)qt_.load(QStringLiteral("qtbase_it"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            }
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
