#include "app/startup.h"

#include <QCoreApplication>

namespace qel {

namespace {

class StartupTexts {
    Q_DECLARE_TR_FUNCTIONS(StartupTexts)

public:
    static QString workPath() { return tr("Your work path is incorrect "); }
    static QString running() {
        return tr("I'm happy you love QEL ... but it's already running :-)");
    }
};

}  // namespace

bool startUp(Session& session, ConfigStore& store, Language& language, SingleInstance& instance,
             Prompter& prompter) {
    const ConfigStore::Loaded loaded = store.load();
    session.setConfig(loaded.config);
    session.setWorkingDir(loaded.config.workingDir);
    language.apply(session.config().language);
    if (loaded.workPathIncorrect)
        prompter.tell(Prompter::Icon::Exclamation, StartupTexts::workPath());
    if (!instance.tryAcquire()) {
        prompter.tell(Prompter::Icon::Critical, StartupTexts::running());
        return false;
    }
    return true;
}

}  // namespace qel
