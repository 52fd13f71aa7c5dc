// The main window: draws the shown channel list with its title, count and data row, the
// TV/RADIO switch, the tab strip that opens the tool windows, the main menu and the
// editing menu; forwards the user's selection to the list controller and every command to
// what the program wired to it. It holds no editing logic of its own.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "app/commands.h"
#include "app/list_controller.h"
#include "app/session.h"

class QAction;
class QItemSelection;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabBar;
class QToolButton;

namespace qel {

class ChannelListModel;
class CloseGuard;
class ConfigStore;
class MainMenus;
class Prompter;
class RecentFiles;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(Session& session, ListController& list, RecentFiles* recent = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The main window's start: its texts, the List tab, the data row as configured.
    void load();

    // The action of a command (its object name is the one tests and settings use).
    QAction* action(Command command) const;
    // Connects a command to its action; only wired commands are ever enabled.
    void wire(Command command, std::function<void()> run);
    // Whether undo and redo are offered.
    void setUndoState(bool canUndo, bool canRedo);
    // A file is being read or written: the busy indicator and the wait cursor.
    void showBusy(bool on);

    // Tool windows are opened by their tabs; a window's factory is registered here.
    using WindowFactory = std::function<QWidget*(QWidget* parent)>;
    void setToolWindow(Tab tab, WindowFactory factory);
    // Selects a tab as a click does (whether it may open decides whether it does).
    void selectTab(Tab tab);
    Tab currentTab() const { return currentTab_; }
    QWidget* openChild() const { return openChild_; }
    // Puts another window in place of the open one, for the same tab (the settings
    // window opens the further settings and the colours this way).
    void replaceOpenChild(QWidget* child);
    bool tabEnabled(Tab tab) const;

    // What a tool window should leave in sight, on the screen: the channel count, the Options
    // tab and the frame's close button.
    QList<QRect> keepClearAreas() const;

    // The question a window with unsaved edits asks on Esc or its close button (none: it
    // closes), and the store of the places the user moves tool windows to.
    void setPrompter(Prompter* prompter);
    void setPlaceStore(ConfigStore* store) { placeStore_ = store; }
    // Shows a tool window in front: where the user last put it if that place is still on a
    // screen, else where toolWindowPlace says; Esc, F1 and its close button as in every tool
    // window.
    void showToolWindow(QWidget* window);
    // The help page (relative to the help's first page) of the tool window of that object
    // name: the page that tells about it, or the first page.
    static QString helpPageOf(const QString& window);

    // Handles a key of the main window; true when it was one of its keys.
    bool handleKeyPress(int key, Qt::KeyboardModifiers mods);
    // A command key that stays the main window's wherever the keyboard is in the frame, even
    // in a menu bar that has it: a function key or a Ctrl combination of a command.
    bool isGlobalCommandKey(int key, Qt::KeyboardModifiers mods) const;
    void handleKeyRelease(Qt::KeyboardModifiers stillHeld);
    // Prepares the editing menu for the selected row (the state a right click shows).
    void prepareEditingMenu();
    // Shows or hides the data row under the list.
    void toggleDataRow();
    bool dataRowShown() const;
    void refreshRecentMenu();

    QString dataRow() const;
    QString title() const;
    QString countText() const;
    QString fileLabel() const;
    QMenu* menu(Menu menu) const;
    QListView* listView() const { return list_; }
    ChannelListModel& model() const { return *model_; }

signals:
    void headerStepRequested(int direction);  // Tab / Shift+Tab: next / previous satellite header
    void debugModeRequested();                // Ctrl+Shift+Alt+D
    void tabOpened(Tab tab);                  // a tab was selected and its window opened
    void rowsDropped(int beforeRow);          // the marked channels were dragged before this row
    void recentFileChosen(const QString& path);
    void helpRequested(const QString& page);  // F1 in a tool window: its page of the help

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildTabs();
    void buildHeader();
    void buildList();
    void buildButtons();
    void layOut();
    void popUpMainMenu();
    void setTexts();
    void updateCommands();
    void redrawRows();
    void showSelection();
    void userSelectionChanged();
    void showDataRow();
    void onTabClicked(int index);
    void openTab(Tab tab);
    void showChild(QWidget* child, Tab tab);
    void returnToList();
    void childClosed();
    void setCurrentTabSilently(Tab tab);
    void editingMenuRequested(const QPoint& pos);
    CommandState commandState() const;

    Session& session_;
    ListController& listState_;
    RecentFiles* recent_;
    ChannelListModel* model_;

    QLabel* fileName_;
    QLabel* title_;
    QLabel* count_;
    QListView* list_;
    QLineEdit* dataRow_;
    QPushButton* menuButton_;
    QToolButton* dataRowButton_;
    QPushButton* tvRadio_;
    QPushButton* bufferButton_;
    QTabBar* tabs_;
    QLabel* tagBadge_;
    QProgressBar* busy_;

    MainMenus* menus_ = nullptr;
    CloseGuard* closeGuard_;
    ConfigStore* placeStore_ = nullptr;
    std::array<bool, kCommandCount> wired_{};
    std::array<WindowFactory, kTabCount> factories_{};
    bool canUndo_ = false;
    bool canRedo_ = false;
    bool shiftHeld_ = false;
    bool showingSelection_ = false;  // the selection is being drawn, not chosen by the user
    Tab currentTab_ = Tab::List;
    QPointer<QWidget> openChild_;
    QObject* openChildRaw_ = nullptr;  // compared with the window that announces its end
    bool tabClickArmed_ = true;
};

}  // namespace qel
