#include "ui/main_window.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/config_store.h"
#include "app/recent_files.h"
#include "app/texts.h"
#include "ui/channel_list_model.h"
#include "ui/close_guard.h"
#include "ui/main_menus.h"

namespace qel {

namespace {

std::size_t indexOf(Command c) {
    return static_cast<std::size_t>(c);
}

// A tab's place in the strip.
int tabIndex(Tab tab) {
    return static_cast<int>(index(tab));
}

// The room left between a tool window and the frame it opens beside.
constexpr int kToolWindowGap = 8;
// The title bar's height where the window system does not tell it.
constexpr int kTitleBarHeight = 24;
// The part of a window that must be on a screen for the user to reach it: its title's start.
constexpr QSize kReachableCorner(64, 16);
// A tool window the window manager puts this near where it was placed (fitting its frame) has
// not been moved by the user.
constexpr int kWindowManagerSlack = 16;
// The property holding where a tool window was placed.
constexpr char kPlacedAt[] = "qelPlacedAt";

qint64 coveredArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

}  // namespace

QPoint MainWindow::toolWindowPlace(const QRect& frame, const QSize& child, const QRect& screen,
                                   const QList<QRect>& keepClear, const QList<QRect>& others) {
    const auto clampX = [&](int x) {
        return std::clamp(x, screen.left(),
                          std::max(screen.left(), screen.right() - child.width() + 1));
    };
    const auto clampY = [&](int y) {
        return std::clamp(y, screen.top(),
                          std::max(screen.top(), screen.bottom() - child.height() + 1));
    };
    // The area covered changes its rate only where an edge of the window meets an edge of an
    // area, of the frame or of the screen: the least covered place is one of those, and only
    // they are tried (beside an area with a small gap, as a window is put beside another).
    std::vector<int> xs{screen.left(), screen.right() - child.width() + 1};
    std::vector<int> ys{screen.top(), screen.bottom() - child.height() + 1};
    QList<QRect> edges = keepClear + others;
    edges.prepend(frame);
    for (const QRect& r : edges) {
        for (int x : {r.left() - kToolWindowGap - child.width(), r.left() - child.width(), r.left(),
                      r.right() - child.width() + 1, r.right() + 1, r.right() + kToolWindowGap}) {
            xs.push_back(clampX(x));
        }
        for (int y :
             {r.top() - kToolWindowGap - child.height(), r.top() - child.height(), r.top(),
              r.bottom() - child.height() + 1, r.bottom() + 1, r.bottom() + kToolWindowGap}) {
            ys.push_back(clampY(y));
        }
    }
    for (auto* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    // Of the places that cover as little, one that leaves the gap to the frame and the other
    // windows it does not cover, and of those the nearest to the frame's right side, at its top.
    const QPoint preferred(clampX(frame.right() + kToolWindowGap), clampY(frame.top()));
    const auto crowds = [](const QRect& place, const QRect& window) {
        const QRect near = window.adjusted(-(kToolWindowGap - 1), -(kToolWindowGap - 1),
                                           kToolWindowGap - 1, kToolWindowGap - 1);
        return !place.intersects(window) && place.intersects(near);
    };
    struct Score {
        qint64 keepClear = 0;
        qint64 others = 0;
        qint64 frame = 0;
        bool crowding = false;
        int distance = 0;
        auto operator<=>(const Score&) const = default;
    };
    QPoint best = preferred;
    Score bestScore{std::numeric_limits<qint64>::max()};
    for (int x : xs) {
        for (int y : ys) {
            const QRect place(QPoint(x, y), child);
            Score score;
            for (const QRect& r : keepClear)
                score.keepClear += coveredArea(place, r);
            score.frame = coveredArea(place, frame);
            score.crowding = crowds(place, frame);
            for (const QRect& r : others) {
                score.others += coveredArea(place, r);
                score.crowding = score.crowding || crowds(place, r);
            }
            score.distance = (QPoint(x, y) - preferred).manhattanLength();
            if (score < bestScore) {
                bestScore = score;
                best = QPoint(x, y);
            }
        }
    }
    return best;
}

bool MainWindow::reachable(const QRect& place, const QList<QRect>& screens) {
    const QRect corner(place.topLeft(), QSize(std::min(place.width(), kReachableCorner.width()),
                                              std::min(place.height(), kReachableCorner.height())));
    return std::any_of(screens.begin(), screens.end(),
                       [&corner](const QRect& screen) { return screen.contains(corner); });
}

QList<QRect> MainWindow::keepClearAreas() const {
    const auto onScreen = [](const QWidget* w, const QRect& r) {
        return QRect(w->mapToGlobal(r.topLeft()), r.size());
    };
    QList<QRect> areas{onScreen(count_, count_->rect()),
                       onScreen(tabs_, tabs_->tabRect(tabIndex(Tab::Options)))};
    // The close button in the frame's top right corner, as high as its title bar where the
    // window system tells.
    const QWidget* frame = window();
    const QRect outer = frame->frameGeometry();
    const int title = std::max(frame->geometry().top() - outer.top(), kTitleBarHeight);
    areas.append(QRect(outer.right() - 2 * title + 1, outer.top(), 2 * title, title));
    return areas;
}

void MainWindow::setPrompter(Prompter* prompter) {
    closeGuard_->setPrompter(prompter);
}

void MainWindow::showToolWindow(QWidget* window) {
    closeGuard_->watch(window);
    window->installEventFilter(this);  // its moves, and the end of the tab's window
    if (!window->isVisible()) placeToolWindow(window);
    window->show();
    window->raise();
    window->activateWindow();
}

QString MainWindow::helpPageOf(const QString& window) {
    static const QHash<QString, QString> pages = {
        {QStringLiteral("DataForm"), QStringLiteral("channel-data.html")},
        {QStringLiteral("BufferForm"), QStringLiteral("buffer.html")},
        {QStringLiteral("SettingDVB_1Form"), QStringLiteral("settings.html#dvb98")},
        {QStringLiteral("SettingDVB_2Form"), QStringLiteral("settings.html#dvb98")},
        {QStringLiteral("SettingsDVB_ColorForm"), QStringLiteral("settings.html#colours")},
        {QStringLiteral("SettingsFTAForm"), QStringLiteral("settings.html#fta")},
        {QStringLiteral("FontForm"), QStringLiteral("fonts.html")},
        {QStringLiteral("SerialForm"), QStringLiteral("serial.html")},
        {QStringLiteral("ExportForm"), QStringLiteral("export.html")},
        {QStringLiteral("OptionsForm"), QStringLiteral("start.html#options")},
        {QStringLiteral("CheckForm"), QStringLiteral("check.html")},
        {QStringLiteral("CompareForm"), QStringLiteral("files.html#compare")},
    };
    return pages.value(window, QStringLiteral("index.html"));
}

void MainWindow::placeToolWindow(QWidget* window) {
    const QWidget* frame = this->window();
    const QRect screen = frame->screen()->availableGeometry();
    // A window larger than the screen is made to fit it.
    window->resize(window->size().boundedTo(screen.size()));
    // A window not shown yet has no frame: it will get one like the frame's.
    QSize outer = window->frameGeometry().size();
    if (outer == window->size()) outer += frame->frameGeometry().size() - frame->size();
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    std::optional<QPoint> place;
    if (placeStore_ != nullptr) place = placeStore_->toolWindowPlace(window->objectName());
    if (!place || !reachable(QRect(*place, outer), screens)) {
        // The tool windows open already stay in sight as far as the screen allows.
        QList<QRect> others;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            if (w != window && w->isVisible() && w->property(kPlacedAt).isValid()) {
                others.append(w->frameGeometry());
            }
        }
        place = toolWindowPlace(frame->frameGeometry(), outer, screen, keepClearAreas(), others);
    }
    window->move(*place);
    window->setProperty(kPlacedAt, *place);
}

void MainWindow::toolWindowMoved(QWidget* window) {
    if (placeStore_ == nullptr || !window->isVisible()) return;
    const QPoint placed = window->property(kPlacedAt).toPoint();
    if ((window->pos() - placed).manhattanLength() <= kWindowManagerSlack) return;
    placeStore_->setToolWindowPlace(window->objectName(), window->pos());
}

MainWindow::MainWindow(Session& session, ListController& list, RecentFiles* recent, QWidget* parent)
    : QWidget(parent),
      session_(session),
      listState_(list),
      recent_(recent),
      model_(new ChannelListModel(session, this)),
      closeGuard_(new CloseGuard(this)) {
    buildWidgets();
    buildMenus();
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
    wired_[indexOf(command)] = true;
    updateCommands();
}

void MainWindow::buildWidgets() {
    buildTabs();
    buildHeader();
    buildList();
    buildButtons();
    layOut();
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

void MainWindow::buildMenus() {
    menus_ = new MainMenus(this);
    connect(menuButton_, &QPushButton::clicked, this, [this] { popUpMainMenu(); });
    refreshRecentMenu();
}

void MainWindow::popUpMainMenu() {
    menus_->menu(Menu::Main)->popup(menuButton_->mapToGlobal(QPoint(0, menuButton_->height())));
}

void MainWindow::setTexts() {
    const QString tabNames[kTabCount] = {tr("List"),     tr("Data"),   QStringLiteral("Buffer"),
                                         tr("Settings"), tr("Fonts"),  tr("Serial"),
                                         tr("Export"),   tr("Options")};
    for (std::size_t i = 0; i < kTabCount; ++i)
        tabs_->setTabText(static_cast<int>(i), tabNames[i]);
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
    for (std::size_t t = 0; t < kTabCount; ++t)
        s.windows[t] = factories_[t] != nullptr;
    return s;
}

void MainWindow::updateCommands() {
    const CommandState s = commandState();
    for (const CommandInfo& info : commandTable()) {
        const std::size_t i = indexOf(info.command);
        action(info.command)->setEnabled(wired_[i] && info.enabled(s));
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
    if (watched != this && (watched == openChildRaw_ || watched->property(kPlacedAt).isValid())) {
        // A tool window: where the user moves it is remembered.
        if (event->type() == QEvent::Move) toolWindowMoved(static_cast<QWidget*>(watched));
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
    const bool blank = listState_.blankRowSelected();
    const bool fta = session_.workspace().fileType() == FileKind::BIN;
    QMenu* antennas = menus_->menu(Menu::Antenna);
    antennas->setEnabled(fta && !blank);
    if (fta) {
        const QList<QAction*> items = antennas->actions();
        for (int i = 0; i < items.size() && i < 8; ++i) {
            const QString name = Texts::fromLatin1(
                session_.workspace().imageTables().antennaName(static_cast<std::size_t>(i)));
            items[i]->setText(QString::number(i + 1) + ' ' + name.trimmed());
        }
    }
    for (Menu m : {Menu::Voltage, Menu::Diseqc, Menu::Spectrum, Menu::Parental, Menu::AutoPmt,
                   Menu::AutoPid}) {
        menus_->menu(m)->setEnabled(!fta && !blank);
    }
}

void MainWindow::editingMenuRequested(const QPoint& pos) {
    if (session_.workspace().channelCount() == 0) return;
    prepareEditingMenu();
    menus_->menu(Menu::Editing)->popup(list_->viewport()->mapToGlobal(pos));
}

void MainWindow::refreshRecentMenu() {
    menus_->recentFiles()->clear();
    const QStringList files = recent_ != nullptr ? recent_->paths() : QStringList();
    for (const QString& path : files) {
        QAction* a = menus_->recentFiles()->addAction(QFileInfo(path).fileName());
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
    }
    menus_->recentFiles()->setEnabled(!files.isEmpty());
}

}  // namespace qel
