// qel: the desktop program. Start: the frame with the about box, the stored
// configuration and its language, the single-instance rule; a .dvb or .bin file named
// on the command line opens when the main window does.
#include <QApplication>
#include <QDir>
#include <QSettings>

#include "app/app_paths.h"
#include "app/config_store.h"
#include "app/language.h"
#include "app/recent_files.h"
#include "app/session.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "qel/program.h"
#include "ui/frame_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("QEL"));
    QCoreApplication::setApplicationName(QStringLiteral("QEL"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QEL_VERSION));

    QSettings settings;
    qel::ConfigStore store(settings, QDir::homePath());
    qel::Language language;
    qel::Session session;
    qel::RecentFiles recent(settings);

    qel::Program program(session, store, language, &recent);
    program.frame().show();
    qel::SingleInstance instance(qel::AppPaths::lockPath());
    if (!qel::startUp(session, store, language, instance, program.prompter())) return 1;

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) program.setFileToOpen(args.at(1));
    return QApplication::exec();
}
