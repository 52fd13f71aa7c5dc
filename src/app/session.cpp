#include "app/session.h"

#include "app/language.h"

namespace qel {

Session::Session(QObject* parent) : QObject(parent) {}

Session::~Session() = default;

bool Session::english() const {
    return Language::IsEnglish(config.language);
}

void Session::setDebugMode(bool on, const QString& logPath) {
    if (on) {
        debugLog_ = std::make_unique<DebugLogFile>(logPath);
    } else {
        debugLog_.reset();
    }
}

void Session::setLanguage(const QString& code) {
    if (config.language == code) return;
    config.language = code;
    emit languageChanged();
}

}  // namespace qel
