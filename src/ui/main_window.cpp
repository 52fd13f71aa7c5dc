#include "ui/main_window.h"

#include <algorithm>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/config_store.h"
#include "app/recent_files.h"
#include "app/texts.h"
#include "app/tool_windows.h"
#include "ui/channel_list_model.h"
#include "ui/close_guard.h"
#include "ui/main_menus.h"
#include "ui/window_placement.h"

namespace qel {

namespace {

// A tab's place in the strip.
int tabIndex(Tab tab) {
    return static_cast<int>(index(tab));
}

}  // namespace

QList<QRect> MainWindow::keepClearAreas() const {
    const auto onScreen = [](const QWidget* w, const QRect& r) {
        return QRect(w->mapToGlobal(r.topLeft()), r.size());
    };
    return {onScreen(count_, count_->rect()),
            onScreen(tabs_, tabs_->tabRect(tabIndex(Tab::Options))), closeButtonArea(window())};
}

void MainWindow::setPrompter(Prompter* prompter) {
    closeGuard_->setPrompter(prompter);
}

void MainWindow::showToolWindow(QWidget* window) {
    closeGuard_->watch(window);
    window->installEventFilter(this);  // its moves, and the end of the tab's window
    if (!window->isVisible())
        placeToolWindow(window, this->window(), keepClearAreas(), placeStore_);
    window->show();
    window->raise();
    window->activateWindow();
}

QString MainWindow::helpPageOf(const QString& window) {
    const ToolWindowInfo* row = toolWindowNamed(window.toLatin1().constData());
    return QString::fromLatin1(row != nullptr ? row->helpPage : "index.html");
}

MainWindow::MainWindow(Session& session, ListController& list, RecentFiles* recent, QWidget* parent)
    : QWidget(parent),
      session_(session),
      listState_(list),
      recent_(recent),
      model_(new ChannelListModel(session, this)),
      closeGuard_(new CloseGuard(this)) {
    buildTabs();
    buildHeader();
    buildList();
    buildButtons();
    layOut();
    menus_ = new MainMenus(this);
    connect(menuButton_, &QPushButton::clicked, this, [this] { popUpMainMenu(); });
    refreshRecentMenu();
    setTexts();

    connect(&listState_, &ListController::rowsChanged, this, &MainWindow::redrawRows);
    connect(&listState_, &ListController::selectionShown, this, &MainWindow::showSelection);
    connect(&session_, &Session::listsChanged, this, [this] { updateCommands(); });
    connect(&session_, &Session::stateChanged, this, [this] {
        fileName_->setText(session_.channelFile().isEmpty()
                               ? tr("No file loaded")
                               : QFileInfo(session_.channelFile()).fileName());
        tagBadge_->setVisible(session_.workspace().fileType() == FileKind::BIN &&
                              session_.workspace().imageTables().imageTagged);
        updateCommands();
    });
}

MainWindow::~MainWindow() {
    if (openChild_) delete openChild_;
}

QMenu* MainWindow::menu(Menu which) const {
    return menus_->menu(which);
}

QAction* MainWindow::action(Command command) const {
    return menus_->action(command);
}

void MainWindow::wire(Command command, std::function<void()> run) {
    connect(action(command), &QAction::triggered, this, [run = std::move(run)] { run(); });
    wired_[static_cast<std::size_t>(command)] = true;
    updateCommands();
}

void MainWindow::buildTabs() {
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabStrip1");
    tabs_->setExpanding(true);
    tabs_->setFocusPolicy(Qt::NoFocus);
    for (std::size_t i = 0; i < kTabCount; ++i)
        tabs_->addTab(QString());
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { onTabClicked(index); });
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == tabIndex(currentTab_) && openChild_) openChild_->activateWindow();
    });
}

void MainWindow::buildHeader() {
    fileName_ = new QLabel(this);
    fileName_->setObjectName("filename");
    title_ = new QLabel(this);
    title_->setObjectName("Tv_Radio");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    count_ = new QLabel(QStringLiteral("0"), this);
    count_->setObjectName("NoofChannel");
    count_->setFont(bold);
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void MainWindow::buildList() {
    list_ = new QListView(this);
    list_->setObjectName("ShowList");
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setMinimumSize(560, 300);
    // Marked channels are dragged to a new place; the model reports where they were dropped.
    list_->setDragEnabled(true);
    list_->setAcceptDrops(true);
    list_->setDropIndicatorShown(true);
    list_->setDragDropMode(QAbstractItemView::DragDrop);
    list_->setDefaultDropAction(Qt::MoveAction);
    connect(model_, &ChannelListModel::rowsDropped, this, &MainWindow::rowsDropped);
    list_->installEventFilter(this);
    connect(list_, &QListView::customContextMenuRequested, this,
            [this](const QPoint& pos) { editingMenuRequested(pos); });
    connect(list_, &QListView::clicked, this, [this] {
        listState_.rememberSelectedRow();
        updateCommands();
    });
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!model_->isBlankRow(index.row())) selectTab(Tab::Data);
    });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { userSelectionChanged(); });
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { userSelectionChanged(); });

    dataRow_ = new QLineEdit(this);
    dataRow_->setObjectName("ShowSmall");
    dataRow_->setReadOnly(true);
    dataRow_->setFocusPolicy(Qt::NoFocus);
    dataRow_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dataRow_->hide();
}

void MainWindow::buildButtons() {
    menuButton_ = new QPushButton(QStringLiteral("&Menu"), this);
    menuButton_->setObjectName("ForMenu");
    menuButton_->setFocusPolicy(Qt::NoFocus);
    dataRowButton_ = new QToolButton(this);
    dataRowButton_->setObjectName("ExpShow");
    dataRowButton_->setArrowType(Qt::UpArrow);
    dataRowButton_->setFocusPolicy(Qt::NoFocus);
    connect(dataRowButton_, &QToolButton::clicked, this, [this] { toggleDataRow(); });
    tvRadio_ = new QPushButton(QStringLiteral("&Tv <--> Radio"), this);
    tvRadio_->setObjectName("TvRadio");
    tvRadio_->setFocusPolicy(Qt::NoFocus);
    connect(tvRadio_, &QPushButton::clicked, this, [this] {
        if (!tvRadio_->isEnabled()) return;
        listState_.switchList();
        list_->setFocus();
    });
    tagBadge_ = new QLabel(QStringLiteral("QEL"), this);
    tagBadge_->setObjectName("Image1");
    tagBadge_->setStyleSheet(
        "QLabel { background: #2e6db4; color: white; font-weight: bold; padding: 2px 6px; "
        "border-radius: 3px; }");
    tagBadge_->hide();
    busy_ = new QProgressBar(this);
    busy_->setObjectName("AntImage");
    busy_->setRange(0, 0);  // busy, without a measure of progress
    busy_->setMaximumWidth(90);
    busy_->setTextVisible(false);
    busy_->hide();
    bufferButton_ = new QPushButton(QStringLiteral("Buffer"), this);
    bufferButton_->setObjectName("BuffBut");
    bufferButton_->setFocusPolicy(Qt::NoFocus);
    connect(bufferButton_, &QPushButton::clicked, this, [this] { selectTab(Tab::Buffer); });
}

void MainWindow::layOut() {
    auto* header = new QHBoxLayout;
    header->addWidget(fileName_, 1);
    header->addWidget(title_);
    header->addSpacing(12);
    header->addWidget(count_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(menuButton_);
    buttons->addWidget(dataRowButton_);
    buttons->addWidget(tvRadio_, 1);
    buttons->addWidget(busy_);
    buttons->addWidget(tagBadge_);
    buttons->addWidget(bufferButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(header);
    layout->addWidget(list_, 1);
    layout->addWidget(dataRow_);
    layout->addLayout(buttons);
    installEventFilter(this);
}

void MainWindow::popUpMainMenu() {
    menus_->menu(Menu::Main)->popup(menuButton_->mapToGlobal(QPoint(0, menuButton_->height())));
}

void MainWindow::setTexts() {
    tabs_->setTabText(tabIndex(Tab::List), tr("List"));
    for (const ToolWindowInfo& w : toolWindowTable()) {
        if (w.tab && w.caption != nullptr) tabs_->setTabText(tabIndex(*w.tab), tr(w.caption));
    }
    if (session_.channelFile().isEmpty()) fileName_->setText(tr("No file loaded"));
    menuButton_->setToolTip(tr("Click for menu"));
    dataRowButton_->setToolTip(tr("Show/hide data row"));
    list_->setToolTip(tr("Right click for editing menu"));
    tvRadio_->setToolTip(tr("Change viewing list"));
    title_->setText(session_.workspace().shownList() == ListId::TV ? tr("TV CHANNELS")
                                                                   : tr("RADIO CHANNELS"));

    menus_->setTexts();
    showDataRow();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

void MainWindow::load() {
    setTexts();
    setCurrentTabSilently(Tab::List);
    currentTab_ = Tab::List;
    redrawRows();
    if (session_.config().dataRowAtStart) toggleDataRow();
}

void MainWindow::redrawRows() {
    model_->refresh();
    title_->setText(session_.workspace().shownList() == ListId::TV ? tr("TV CHANNELS")
                                                                   : tr("RADIO CHANNELS"));
    count_->setText(QString::number(session_.workspace().shown().size()));
    showSelection();
}

void MainWindow::showSelection() {
    showingSelection_ = true;
    QItemSelectionModel* sel = list_->selectionModel();
    const int row = std::clamp(listState_.selectedRow(), 1, model_->rowCount()) - 1;
    const QModelIndex current = model_->index(row);
    sel->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    QItemSelection marked;
    for (std::size_t m : listState_.marks()) {
        const QModelIndex i = model_->index(static_cast<int>(m));
        if (i.isValid()) marked.select(i, i);
    }
    // The selected row is marked only when the controller says so.
    sel->select(current, QItemSelectionModel::Deselect);
    sel->select(marked, QItemSelectionModel::Select);
    list_->scrollTo(current);
    showingSelection_ = false;
    if (isVisible() && !QApplication::activePopupWidget()) list_->setFocus();
    updateCommands();
    showDataRow();
}

void MainWindow::userSelectionChanged() {
    if (showingSelection_) return;
    const QModelIndex current = list_->currentIndex();
    Marks marks;
    const int channels = model_->channelCount();
    for (const QModelIndex& i : list_->selectionModel()->selectedRows()) {
        if (i.row() < channels) marks.push_back(static_cast<std::size_t>(i.row()));
    }
    std::sort(marks.begin(), marks.end());
    listState_.userSelected(current.isValid() ? current.row() + 1 : 1, marks);
    updateCommands();
    showDataRow();
}

QString MainWindow::dataRow() const {
    return dataRow_->text();
}
QString MainWindow::title() const {
    return title_->text();
}
QString MainWindow::countText() const {
    return count_->text();
}
QString MainWindow::fileLabel() const {
    return fileName_->text();
}

void MainWindow::showDataRow() {
    // While Shift is held the selection is being extended: the data row waits.
    if (shiftHeld_) return;
    dataRow_->setText(listState_.dataRowText());
    dataRow_->setCursorPosition(0);
}

void MainWindow::setUndoState(bool canUndo, bool canRedo) {
    canUndo_ = canUndo;
    canRedo_ = canRedo;
    updateCommands();
}

void MainWindow::showBusy(bool on) {
    busy_->setVisible(on);
    if (on) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        busy_->repaint();
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

CommandState MainWindow::commandState() const {
    CommandState s;
    s.list = listState_.commands();
    s.canUndo = canUndo_;
    s.canRedo = canRedo_;
    s.imageLoaded = session_.workspace().fileType() == FileKind::BIN;
    s.fontLoaded = session_.workspace().fontLoaded();
    s.settingsLoaded = session_.workspace().settingsLoaded();
    s.listsBeforeDownload = session_.listsBeforeDownload() != nullptr;
    if (session_.listsAsOpened() != nullptr) {
        const bool loaded = session_.openedBy() == Session::Opened::Loaded;
        s.listsAsLoaded = loaded;
        s.listsAsDownloaded = !loaded;
    }
    for (std::size_t t = 0; t < kTabCount; ++t)
        s.windows[t] = factories_[t] != nullptr;
    return s;
}

void MainWindow::updateCommands() {
    const CommandState s = commandState();
    for (const CommandInfo& info : commandTable()) {
        action(info.command)
            ->setEnabled(wired_[static_cast<std::size_t>(info.command)] && info.enabled(s));
    }
    menus_->menu(Menu::Search)->setEnabled(s.list.search);
    tvRadio_->setEnabled(s.list.tvRadio);
    bufferButton_->setEnabled(s.list.buffer);
    // Disabling the current tab makes the strip select another one: that selection opens
    // nothing, the strip goes back to the tab that is open.
    const bool armed = tabClickArmed_;
    const int shownTab = tabs_->currentIndex();
    tabClickArmed_ = false;
    for (std::size_t t = index(Tab::Data); t < kTabCount; ++t) {
        const Tab tab = static_cast<Tab>(t);
        tabs_->setTabEnabled(tabIndex(tab), qel::tabEnabled(tab, s));
    }
    if (tabs_->currentIndex() != shownTab) tabs_->setCurrentIndex(tabIndex(currentTab_));
    tabClickArmed_ = armed;
}

bool MainWindow::tabEnabled(Tab tab) const {
    return qel::tabEnabled(tab, commandState());
}

void MainWindow::setToolWindow(Tab tab, WindowFactory factory) {
    factories_[index(tab)] = std::move(factory);
    updateCommands();
}

void MainWindow::selectTab(Tab tab) {
    if (tab == currentTab_) {
        // The Settings tab opens its window again (the settings windows return through it).
        if (tab == Tab::Settings) {
            openTab(tab);
        } else if (openChild_) {
            openChild_->activateWindow();
        }
        return;
    }
    tabs_->setCurrentIndex(tabIndex(tab));
}

void MainWindow::setCurrentTabSilently(Tab tab) {
    if (tabs_->currentIndex() == tabIndex(tab)) return;
    tabClickArmed_ = false;
    tabs_->setCurrentIndex(tabIndex(tab));
    tabClickArmed_ = true;
}

void MainWindow::onTabClicked(int index) {
    if (!tabClickArmed_) return;
    openTab(static_cast<Tab>(index));
}

void MainWindow::returnToList() {
    openChildRaw_ = nullptr;
    if (openChild_) {
        QWidget* child = openChild_;
        openChild_ = nullptr;
        child->close();
        child->deleteLater();
    }
    currentTab_ = Tab::List;
    setCurrentTabSilently(Tab::List);
    list_->setFocus();
    showDataRow();
    emit tabOpened(Tab::List);
}

void MainWindow::openTab(Tab tab) {
    if (tab == Tab::List) {
        returnToList();
        return;
    }
    updateCommands();
    if (!tabEnabled(tab)) {
        setCurrentTabSilently(currentTab_);
        return;
    }
    showChild(factories_[index(tab)](window()), tab);
}

void MainWindow::replaceOpenChild(QWidget* child) {
    showChild(child, currentTab_);
}

void MainWindow::showChild(QWidget* child, Tab tab) {
    openChildRaw_ = nullptr;
    if (openChild_ && openChild_ != child) {
        QWidget* old = openChild_;
        openChild_ = nullptr;
        old->close();
        old->deleteLater();
    }
    // A tool window of the main window, not a window of its own: it stays in front of the
    // main window, which never covers it.
    child->setWindowFlags((child->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    child->adjustSize();
    currentTab_ = tab;
    openChild_ = child;
    child->setAttribute(Qt::WA_DeleteOnClose);
    // The tool window closed by itself: back to the list.
    connect(child, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone == openChildRaw_) childClosed();
    });
    openChildRaw_ = child;
    showToolWindow(child);
    emit tabOpened(tab);
}

void MainWindow::toggleDataRow() {
    dataRow_->setVisible(!dataRow_->isVisible());
    dataRowButton_->setArrowType(dataRow_->isVisible() ? Qt::DownArrow : Qt::UpArrow);
}

bool MainWindow::dataRowShown() const {
    return !dataRow_->isHidden();
}

bool MainWindow::handleKeyPress(int key, Qt::KeyboardModifiers mods) {
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    if (ctrl && shift && alt && key == Qt::Key_D) {
        emit debugModeRequested();
        return true;
    }
    if (const std::optional<Command> command = menus_->commandForKey(key, mods)) {
        updateCommands();
        if (*command == Command::Help) list_->setFocus();
        if (*command == Command::Edit) {
            selectTab(Tab::Data);  // as a double click: the gate of the tab decides
        } else if (action(*command)->isEnabled()) {
            action(*command)->trigger();
        }
        return true;
    }
    if (key == Qt::Key_M) {
        popUpMainMenu();
    } else if (key == Qt::Key_Backtab || (shift && key == Qt::Key_Tab)) {
        emit headerStepRequested(-1);
    } else if (key == Qt::Key_Tab) {
        emit headerStepRequested(+1);
    } else if (key == Qt::Key_Shift) {
        shiftHeld_ = true;
        return false;  // the list still extends its selection
    } else {
        return false;
    }
    return true;
}

bool MainWindow::isGlobalCommandKey(int key, Qt::KeyboardModifiers mods) const {
    const bool functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F35;
    return (functionKey || (mods & Qt::ControlModifier)) &&
           menus_->commandForKey(key, mods).has_value();
}

void MainWindow::handleKeyRelease(Qt::KeyboardModifiers stillHeld) {
    if (!(stillHeld & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        shiftHeld_ = false;
    }
    showDataRow();
}

void MainWindow::childClosed() {
    openChildRaw_ = nullptr;
    openChild_ = nullptr;
    returnToList();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != this && (watched == openChildRaw_ || isPlacedToolWindow(watched))) {
        // A tool window: where the user moves it is remembered.
        if (event->type() == QEvent::Move) {
            rememberMovedToolWindow(static_cast<QWidget*>(watched), placeStore_);
        }
        // F1 reaches the window when none of its controls took it: the window's own help.
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            emit helpRequested(helpPageOf(watched->objectName()));
            return true;
        }
        // The tab's window hidden by the program, not by the window system (minimised): it was
        // closed; a window that refuses to close is not hidden.
        if (watched == openChildRaw_ && event->type() == QEvent::Hide && !event->spontaneous()) {
            childClosed();
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (handleKeyPress(k->key(), k->modifiers())) return true;
    } else if (event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat()) {
            Qt::KeyboardModifiers held = k->modifiers();
            // The released key itself no longer counts as held.
            if (k->key() == Qt::Key_Shift) held &= ~Qt::ShiftModifier;
            if (k->key() == Qt::Key_Control) held &= ~Qt::ControlModifier;
            if (k->key() == Qt::Key_Alt) held &= ~Qt::AltModifier;
            handleKeyRelease(held);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::prepareEditingMenu() {
    updateCommands();
    const Workspace& ws = session_.workspace();
    menus_->prepareEditingMenu(ws.fileType() == FileKind::BIN, listState_.blankRowSelected(),
                               [&ws](std::size_t antenna) {
                                   return Texts::fromLatin1(ws.imageTables().antennaName(antenna));
                               });
}

void MainWindow::editingMenuRequested(const QPoint& pos) {
    if (session_.workspace().channelCount() == 0) return;
    prepareEditingMenu();
    menus_->menu(Menu::Editing)->popup(list_->viewport()->mapToGlobal(pos));
}

void MainWindow::refreshRecentMenu() {
    menus_->showRecentFiles(recent_ != nullptr ? recent_->paths() : QStringList(),
                            [this](const QString& path) { emit recentFileChosen(path); });
}

}  // namespace qel
