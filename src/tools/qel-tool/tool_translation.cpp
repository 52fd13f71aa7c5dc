#include "tool_translation.h"

#ifdef QEL_TOOL_TRANSLATIONS
#include <QString>
#include <QTranslator>
#endif

namespace qel::tool {

#ifdef QEL_TOOL_TRANSLATIONS

namespace {

const QTranslator& translator() {
    static QTranslator translator;
    [[maybe_unused]] static const bool loaded = translator.load(QStringLiteral(":/i18n/qel_it.qm"));
    return translator;
}

}  // namespace

bool hasTranslations() {
    return !translator().isEmpty();
}

std::string italianText(const char* context, const char* source, const char* disambiguation) {
    const QString text = translator().translate(context, source, disambiguation);
    return text.isEmpty() ? std::string(source) : text.toLatin1().toStdString();
}

#else

bool hasTranslations() {
    return false;
}

std::string italianText(const char*, const char* source, const char*) {
    return source;
}

#endif

}  // namespace qel::tool
