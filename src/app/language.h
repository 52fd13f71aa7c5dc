// The language of the texts: "ENG" shows the English source texts, any other code
// installs the Italian translation (and Qt's own, for standard buttons). The Italian texts
// come from an installed translations/qel_it.qm when there is one, else from the program.
#pragma once

#include <QString>
#include <QTranslator>

namespace qel {

class Language {
public:
    static bool isEnglish(const QString& code) { return code == QLatin1String("ENG"); }

    // Installs or removes the translators; every widget then gets a LanguageChange event.
    void apply(const QString& code);

private:
    QTranslator program_;
    QTranslator qt_;
    bool installed_ = false;
};

}  // namespace qel
