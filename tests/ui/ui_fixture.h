// The whole program (composition root) over a fresh session, with scripted dialogs and a
// folder of test files; the main window is open on empty lists.
#pragma once

#include <QAction>
#include <QListView>
#include <algorithm>
#include <memory>

#include "qel/program.h"
#include "support/app_fixture.h"
#include "ui/frame_window.h"
#include "ui/main_window.h"

namespace qel::test {

// The child of `w` of that object name.
template <class T>
T* child(const QObject* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

struct UiFixture : AppFixture {
    std::unique_ptr<Program> program;
    MainWindow* form = nullptr;

    // With `realMessageBoxes` the program shows Qt's message boxes, not the scripted ones.
    explicit UiFixture(bool realMessageBoxes = false) {
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

    bool load(const QString& path) {
        chooser.choose(path);
        files().loadChannels();
        return session.channelFile() == path;
    }
    bool loadSettings(const QString& path) {
        chooser.choose(path);
        files().loadSettings();
        return session.settingsFile() == path;
    }
    bool loadFont(const QString& path) {
        chooser.choose(path);
        program->fonts().loadFonts();
        return session.fontFile() == path;
    }

    // The tool window `tab` opens, as a T (null when the tab stays closed).
    template <class T = QWidget>
    T* openTab(Tab tab) {
        form->selectTab(tab);
        return openChild<T>();
    }
    // The main window's tool window open now, as a T.
    template <class T = QWidget>
    T* openChild() const {
        return qobject_cast<T*>(form->openChild());
    }
};

}  // namespace qel::test
