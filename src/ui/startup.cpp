#include "ui/startup.h"

#include <QCoreApplication>

namespace qel {

namespace {

class StartupTexts {
    Q_DECLARE_TR_FUNCTIONS(StartupTexts)

public:
    static QString WorkPath() { return tr("Your work path is incorrect "); }
    static QString Running() {
        return tr("I'm happy you love QEL ... but it's already running :-)");
    }
};

}  // namespace

bool Startup(Session& session, ConfigStore& store, Language& language, SingleInstance& instance,
             Prompter& prompter) {
    const ConfigStore::Loaded loaded = store.Get_Configuration();
    session.config = loaded.config;
    session.workingDir = loaded.config.workingDir;
    language.Apply(session.config.language);
    if (loaded.workPathIncorrect)
        prompter.Tell(Prompter::Icon::Exclamation, StartupTexts::WorkPath());
    if (!instance.TryAcquire()) {
        prompter.Tell(Prompter::Icon::Critical, StartupTexts::Running());
        return false;
    }
    return true;
}

}  // namespace qel
