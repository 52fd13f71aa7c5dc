// The whole program (composition root) over a fresh session, with scripted dialogs and a
// folder of test files; the main window is open on empty lists.
#pragma once

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "app/config_store.h"
#include "app/language.h"
#include "app/recent_files.h"
#include "app/session.h"
#include "qel/program.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/scripted_ui.h"
#include "ui/frame_window.h"
#include "ui/main_window.h"

namespace qel::test {

struct UiFixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("qel.ini"), QSettings::IniFormat};
    ConfigStore store{settings, QDir::homePath()};
    RecentFiles recent{settings};
    Language language;
    Session session;
    ScriptedPrompter prompter;
    ScriptedChooser chooser;
    std::unique_ptr<Program> program;
    MainWindow* form = nullptr;

    // With `realMessageBoxes` the program shows Qt's message boxes, not the scripted ones.
    explicit UiFixture(bool realMessageBoxes = false) {
        QStandardPaths::setTestModeEnabled(true);
        session.setWorkingDir(dir.path());
        program = std::make_unique<Program>(session, store, language, &recent,
                                            realMessageBoxes ? nullptr : &prompter, &chooser);
        form = &program->mainWindow();
        program->frame().openMainWindow();
        prompter.asked.clear();
    }

    ListController& list() { return program->list(); }
    EditingController& editing() { return program->editing(); }
    FileController& files() { return program->files(); }
    FrameWindow& frame() { return program->frame(); }
    Workspace& ws() { return session.workspace(); }

    // The main window's action of that object name.
    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }

    // The rows marked in the list view (1-based).
    QList<int> markedRows() const {
        QList<int> rows;
        for (const QModelIndex& i : form->listView()->selectionModel()->selectedRows())
            rows.append(i.row() + 1);
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    QString write(const QString& name, const std::string& bytes) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    static std::string read(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll().toStdString();
    }

    // A .dvb of `tv` TV channels (the first a satellite header) and `radio` RADIO channels.
    QString dvb(const QString& name, int tv, int radio) const {
        std::string bytes;
        for (int i = 0; i < tv; ++i) {
            bytes += DvbRecord()
                         .name(i == 0 ? std::string("--- SAT ---") : "TV " + std::to_string(i))
                         .freqMHz(i == 0 ? 0 : 11000 + static_cast<unsigned>(i))
                         .srateKs(27500)
                         .fecCode(4)
                         .VPid(0x100 + static_cast<unsigned>(i))
                         .APid(i == 0 ? 1 : 0x200)
                         .Parental(i == 2);
        }
        for (int i = 0; i < radio; ++i) {
            bytes += DvbRecord().type(2).name("RADIO " + std::to_string(i)).freqMHz(12000);
        }
        return write(name, bytes);
    }

    QString g98(const QString& name) const {
        std::string block = "DVSO" + std::string(1260, '\x11');
        unsigned char sum = 0x55;
        for (char c : block)
            sum = static_cast<unsigned char>(sum ^ static_cast<unsigned char>(c));
        return write(name, block + static_cast<char>(sum));
    }

    QString bin(const QString& name) const {
        return write(name, FtaImage()
                               .add(0x87AA, channelEntry("FTA TV", 1, 2, 3, 0))
                               .add(0x9001, tunedTransponder(1, 2, 0x0020, 8, "01176600", "013", 1,
                                                             0, "275000", 3))
                               .add(0x9000, word16(1))
                               .add(0xE505, std::string("ANT ONE") + std::string(57, '\0'))
                               .build());
    }

    bool load(const QString& path) {
        chooser.choose(path);
        files().loadChannels();
        return session.channelFile() == path;
    }
};

}  // namespace qel::test
