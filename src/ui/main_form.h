// The main window: the shown channel list with its data row, the TV/RADIO switch,
// the tab strip that opens the tool windows, the main menu and the editing menu, and
// the keyboard of the main window.
#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>
#include <array>
#include <functional>

#include "app/session.h"
#include "listedit/list_view.h"
#include "listedit/undo.h"
#include "ui/prompter.h"

class QAction;
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
class FileCommands;
class RecentFiles;

class MainForm : public QWidget {
    Q_OBJECT

public:
    enum Tab {
        ListTab = 1,
        DataTab,
        BufferTab,
        SettingsTab,
        FontsTab,
        SerialTab,
        ExportTab,
        OptionsTab
    };

    MainForm(Session& session, Prompter& prompter, FileChooser& chooser,
             RecentFiles* recent = nullptr, QWidget* parent = nullptr);
    ~MainForm() override;

    // The main window's load: texts, empty lists, the satellite table, the first tab.
    void Load();

    // Rebuilds the rows from the shown list and selects `position` (1-based).
    void Fill_List(int position);
    // 1-based selected row; the blank row is channel count + 1.
    int selectedRow() const;
    // 1-based rows marked (selected), in order.
    QList<int> markedRows() const;
    // The marked channels (0-based positions; the blank row is never one).
    Marks marks() const;
    // What the list shows now, and showing it again (the list, the row, the marks).
    ListSelection currentSelection() const;
    void restoreSelection(const ListSelection& selection);
    // Selects exactly `row` (1-based), as a click does.
    void selectOnly(int row);
    // Redraws the rows after the shown list changed, keeping the row and the marks.
    void Refresh();
    // Whether undo and redo are offered.
    void setUndoState(bool canUndo, bool canRedo);
    QString dataRow() const;
    QString title() const;
    QString countText() const;
    QString fileLabel() const;
    const MainCommands& commands() const { return commands_; }

    // Tool windows are opened by their tabs; a window's factory is registered here.
    using WindowFactory = std::function<QWidget*(QWidget* parent)>;
    void setToolWindow(Tab tab, WindowFactory factory);
    // Selects a tab as a click does (its gate decides whether it opens).
    void selectTab(Tab tab);
    int currentTab() const { return currentTab_; }
    QWidget* openChild() const { return openChild_; }
    // Puts another window in place of the open one, for the same tab (the settings
    // window opens the further settings and the colours this way).
    void replaceOpenChild(QWidget* child);
    bool tabEnabled(Tab tab) const;

    FileCommands& files() { return *files_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* searchMenu() const { return searchMenu_; }
    QMenu* mainMenu() const { return mainMenu_; }
    QMenu* editingMenu() const { return editingMenu_; }
    QListView* listView() const { return list_; }
    ChannelListModel& model() const { return *model_; }

    // Switches between the TV and the RADIO list, remembering the row of each.
    void SwitchList();
    // Shows or hides the data row under the list.
    void ToggleDataRow();
    bool dataRowShown() const;

    // Handles a key of the main window; true when it was one of its keys.
    bool HandleKeyPress(int key, Qt::KeyboardModifiers mods);
    void HandleKeyRelease(Qt::KeyboardModifiers stillHeld);

    // Prepares the editing menu for the selected row (the state a right click shows).
    void PrepareEditingMenu();

    // The actions of the editing menu and main menu, by name ("Insertmnu", "Load_Channel").
    QAction* action(const char* name) const;
    // Connects a command to an action; only wired actions are ever enabled.
    void Wire(const char* name, std::function<void()> command);

signals:
    void aboutRequested();
    void helpRequested();
    void exitRequested();
    void headerStepRequested(int direction);  // Tab / Shift+Tab: next / previous satellite header
    void tabOpened(int tab);                  // a tab was selected and its window opened
    void rowsDropped(int beforeRow);          // the marked channels were dragged before this row

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildWidgets();
    void BuildMenus();
    void SetLanguage();
    void UpdateCommands();
    void RowSelected(int row);
    void RememberRow();
    void OnTabClicked(int index);
    void OpenTab(Tab tab);
    void ShowChild(QWidget* child, Tab tab);
    void ReturnToList();
    void ToggleDebugMode();
    void RefreshRecentMenu();
    void EditingMenuRequested(const QPoint& pos);

    Session& s_;
    Prompter& prompter_;
    FileCommands* files_;
    RecentFiles* recent_;
    ChannelListModel* model_;

    QLabel* fileName_;
    QLabel* title_;
    QLabel* count_;
    QListView* list_;
    QLineEdit* showSmall_;
    QPushButton* forMenu_;
    QToolButton* expShow_;
    QPushButton* tvRadio_;
    QPushButton* buffBut_;
    QTabBar* tabs_;
    QLabel* tagImage_;
    QProgressBar* busy_;

    QMenu* mainMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* searchMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* editingMenu_ = nullptr;
    QMenu* antennaMenu_ = nullptr;
    QList<QMenu*> dvbMenus_;

    MainCommands commands_;
    bool shiftHeld_ = false;
    int currentTab_ = ListTab;
    QPointer<QWidget> openChild_;
    QObject* openChildRaw_ = nullptr;  // compared with the window that announces its end
    bool tabClickArmed_ = true;
    std::array<WindowFactory, 9> factories_{};
    QSet<QString> wired_;
    bool ready_ = false;  // every widget and action exists
    bool canUndo_ = false;
    bool canRedo_ = false;
};

}  // namespace qel
