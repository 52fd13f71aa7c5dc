// qel: the desktop program. Start: the frame with the about box, the stored
// configuration and its language, the single-instance rule; a channel, settings or font
// file named on the command line opens when the main window does.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QSettings>
#include <cstdio>
#include <string_view>

#include "app/app_paths.h"
#include "app/config_store.h"
#include "app/language.h"
#include "app/recent_files.h"
#include "app/session.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "qel/program.h"
#include "ui/frame_window.h"

namespace {

// Options answered on the terminal before any window opens: they need no screen.
bool answersOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version" || arg.starts_with("--find-data")) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answersOnTerminal(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("QEL"));
    QCoreApplication::setApplicationName(QStringLiteral("QEL"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QEL_VERSION));
    // The name of the installed desktop entry (packaging/), which gives the windows their icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.qel.Qel"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Settings editor for DVB satellite receivers (DVB98 and FTA firmware)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A file to open: a DVB98 channel list (.dvb), an FTA flash image (.bin), "
                       "DVB98 settings (.g98) or a font (.fos, .oc1, .oc2)."),
        QStringLiteral("[file]"));
    // Where a file that comes with the program is found (help/index.html,
    // translations/qel_it.qm): for checking an installation.
    QCommandLineOption findData(QStringLiteral("find-data"),
                                QStringLiteral("Print where the data file FILE is found."),
                                QStringLiteral("FILE"));
    findData.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(findData);
    parser.process(app);
    if (parser.isSet(findData)) {
        const QString found = qel::AppPaths::findSupplied(parser.value(findData));
        if (found.isEmpty()) {
            std::fprintf(stderr, "qel: %s: not found\n", qUtf8Printable(parser.value(findData)));
            return 1;
        }
        std::printf("%s\n", qUtf8Printable(found));
        return 0;
    }

#ifdef Q_OS_WIN
    // The registry key the program has always kept its settings under, one subkey a
    // section, so the settings of an earlier installation are found.
    QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program "
                                      "Settings\\QEL"),
                       QSettings::NativeFormat);
#else
    QSettings settings;
#endif
    qel::ConfigStore store(settings, QDir::homePath());
    qel::Language language;
    qel::Session session;
    qel::RecentFiles recent(settings);

    qel::Program program(session, store, language, &recent);
    program.frame().show();
    qel::SingleInstance instance(qel::AppPaths::lockPath());
    if (!qel::startUp(session, store, language, instance, program.prompter())) return 1;

    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) program.setFileToOpen(files.first());
    return QApplication::exec();
}
