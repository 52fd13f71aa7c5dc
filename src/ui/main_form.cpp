#include "ui/main_form.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
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
#include <QScreen>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_paths.h"
#include "app/recent_files.h"
#include "ui/channel_list_model.h"
#include "ui/file_commands.h"
#include "ui/texts.h"

namespace qel {

namespace {

// A tool window opens beside the main window when the screen has room, else over it.
void PlaceBeside(QWidget* child, QWidget* frame) {
    child->adjustSize();
    const QRect f = frame->frameGeometry();
    const QRect screen = frame->screen()->availableGeometry();
    QPoint at(f.right() + 8, f.top());
    if (at.x() + child->width() > screen.right()) {
        at.setX(std::max(screen.left(), screen.right() - child->width()));
    }
    if (at.y() + child->height() > screen.bottom()) {
        at.setY(std::max(screen.top(), screen.bottom() - child->height()));
    }
    child->move(at);
}

QAction* NewAction(QObject* parent, const char* name) {
    auto* a = new QAction(parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

}  // namespace

MainForm::MainForm(Session& session, Prompter& prompter, FileChooser& chooser, RecentFiles* recent,
                   QWidget* parent)
    : QWidget(parent),
      s_(session),
      prompter_(prompter),
      files_(new FileCommands(session, prompter, chooser, recent, this)),
      recent_(recent),
      model_(new ChannelListModel(session, this)) {
    BuildWidgets();
    BuildMenus();
    ready_ = true;
    SetLanguage();

    connect(files_, &FileCommands::channelsLoaded, this, [this] {
        s_.ws.TVPos = 1;
        s_.ws.RadioPos = 1;
        Fill_List(1);
        RefreshRecentMenu();
        list_->setFocus();
    });
    connect(files_, &FileCommands::settingsLoaded, this, [this] {
        UpdateCommands();
        selectTab(SettingsTab);
    });
    connect(files_, &FileCommands::bufferFilled, this, [this] {
        UpdateCommands();
        selectTab(BufferTab);
    });
    connect(&s_, &Session::listsChanged, this, &MainForm::Refresh);
    connect(files_, &FileCommands::busy, this, [this](bool on) {
        busy_->setVisible(on);
        if (on) busy_->repaint();
    });
    connect(&s_, &Session::stateChanged, this, [this] {
        fileName_->setText(s_.channelFile.isEmpty() ? tr("No file loaded")
                                                    : QFileInfo(s_.channelFile).fileName());
        UpdateCommands();
    });
}

MainForm::~MainForm() {
    if (openChild_) delete openChild_;
}

void MainForm::BuildWidgets() {
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabStrip1");
    tabs_->setExpanding(true);
    tabs_->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < 8; ++i)
        tabs_->addTab(QString());
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { OnTabClicked(index); });
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index + 1 == currentTab_ && openChild_) openChild_->activateWindow();
    });

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
    connect(model_, &ChannelListModel::rowsDropped, this, &MainForm::rowsDropped);
    list_->installEventFilter(this);
    connect(list_, &QListView::customContextMenuRequested, this,
            [this](const QPoint& pos) { EditingMenuRequested(pos); });
    connect(list_, &QListView::clicked, this, [this] {
        RememberRow();
        UpdateCommands();
    });
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!model_->isBlankRow(index.row())) selectTab(DataTab);
    });
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                UpdateCommands();
                RowSelected(current.row() + 1);
            });

    showSmall_ = new QLineEdit(this);
    showSmall_->setObjectName("ShowSmall");
    showSmall_->setReadOnly(true);
    showSmall_->setFocusPolicy(Qt::NoFocus);
    showSmall_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    showSmall_->hide();

    forMenu_ = new QPushButton(QStringLiteral("&Menu"), this);
    forMenu_->setObjectName("ForMenu");
    forMenu_->setFocusPolicy(Qt::NoFocus);
    expShow_ = new QToolButton(this);
    expShow_->setObjectName("ExpShow");
    expShow_->setArrowType(Qt::UpArrow);
    expShow_->setFocusPolicy(Qt::NoFocus);
    connect(expShow_, &QToolButton::clicked, this, [this] { ToggleDataRow(); });
    tvRadio_ = new QPushButton(QStringLiteral("&Tv <--> Radio"), this);
    tvRadio_->setObjectName("TvRadio");
    tvRadio_->setFocusPolicy(Qt::NoFocus);
    connect(tvRadio_, &QPushButton::clicked, this, [this] { SwitchList(); });
    tagImage_ = new QLabel(QStringLiteral("QEL"), this);
    tagImage_->setObjectName("Image1");
    tagImage_->setStyleSheet(
        "QLabel { background: #2e6db4; color: white; font-weight: bold; padding: 2px 6px; "
        "border-radius: 3px; }");
    tagImage_->hide();
    busy_ = new QProgressBar(this);
    busy_->setObjectName("AntImage");
    busy_->setRange(0, 0);  // busy, without a measure of progress
    busy_->setMaximumWidth(90);
    busy_->setTextVisible(false);
    busy_->hide();
    buffBut_ = new QPushButton(QStringLiteral("Buffer"), this);
    buffBut_->setObjectName("BuffBut");
    buffBut_->setFocusPolicy(Qt::NoFocus);
    connect(buffBut_, &QPushButton::clicked, this, [this] { selectTab(BufferTab); });

    auto* header = new QHBoxLayout;
    header->addWidget(fileName_, 1);
    header->addWidget(title_);
    header->addSpacing(12);
    header->addWidget(count_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(forMenu_);
    buttons->addWidget(expShow_);
    buttons->addWidget(tvRadio_, 1);
    buttons->addWidget(busy_);
    buttons->addWidget(tagImage_);
    buttons->addWidget(buffBut_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(header);
    layout->addWidget(list_, 1);
    layout->addWidget(showSmall_);
    layout->addLayout(buttons);
    installEventFilter(this);
}

void MainForm::BuildMenus() {
    fileMenu_ = new QMenu(this);
    for (const char* name : {"Load_Channel", "Save_Channel", "Load_Settings", "Save_Settings",
                             "Load_Fonts", "Save_Fonts", "ImportFormTXT", "UpgDVB", "DVB2Bin"}) {
        if (std::string_view(name) == "Load_Fonts" || std::string_view(name) == "UpgDVB") {
            fileMenu_->addSeparator();
        }
        fileMenu_->addAction(NewAction(this, name));
    }
    fileMenu_->addSeparator();
    recentMenu_ = fileMenu_->addMenu(QString());
    recentMenu_->setObjectName("RecentFiles");
    fileMenu_->addSeparator();
    fileMenu_->addAction(NewAction(this, "Exitmnu"));

    searchMenu_ = new QMenu(this);
    searchMenu_->setObjectName("Search");
    searchMenu_->addAction(NewAction(this, "Findmnu"));
    searchMenu_->addAction(NewAction(this, "Findnemnu"));

    mainMenu_ = new QMenu(this);
    mainMenu_->addMenu(fileMenu_);
    mainMenu_->addMenu(searchMenu_);
    mainMenu_->addAction(NewAction(this, "Undomnu"));
    mainMenu_->addAction(NewAction(this, "Redomnu"));
    mainMenu_->addSeparator();
    for (const char* name :
         {"Settmnu", "Fontmnu", "Serial", "Export", "options", "About", "Help"}) {
        mainMenu_->addAction(NewAction(this, name));
    }
    connect(forMenu_, &QPushButton::clicked, this,
            [this] { mainMenu_->popup(forMenu_->mapToGlobal(QPoint(0, forMenu_->height()))); });

    Wire("Load_Channel", [this] { files_->Load_Channel_Click(); });
    Wire("Save_Channel", [this] { files_->Save_Channel_Click(); });
    Wire("Load_Settings", [this] { files_->Load_Settings_Click(); });
    Wire("Save_Settings", [this] { files_->Save_Settings_Click(); });
    Wire("UpgDVB", [this] { files_->UpgDVB_Click(); });
    Wire("DVB2Bin", [this] { files_->DVB2Bin_Click(); });
    Wire("Exitmnu", [this] { emit exitRequested(); });
    Wire("Settmnu", [this] { selectTab(SettingsTab); });
    Wire("Fontmnu", [this] { selectTab(FontsTab); });
    Wire("Serial", [this] { selectTab(SerialTab); });
    Wire("Export", [this] { selectTab(ExportTab); });
    Wire("options", [this] { selectTab(OptionsTab); });
    Wire("About", [this] { emit aboutRequested(); });
    Wire("Help", [this] { HandleKeyPress(Qt::Key_F1, {}); });

    editingMenu_ = new QMenu(this);
    editingMenu_->setObjectName("editing_menu");
    editingMenu_->addAction(action("Undomnu"));
    editingMenu_->addAction(action("Redomnu"));
    editingMenu_->addSeparator();
    for (const char* name :
         {"Editmnu", "Insertmnu", "Deletemnu", "Cutmnu", "Pastemnu", "Pastespecialmnu"}) {
        editingMenu_->addAction(NewAction(this, name));
    }
    Wire("Editmnu", [this] { selectTab(DataTab); });
    editingMenu_->addSeparator();

    const auto submenu = [this](const char* name, const QString& caption,
                                std::initializer_list<std::pair<const char*, QString>> items) {
        QMenu* m = editingMenu_->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        for (const auto& [item, text] : items) {
            QAction* a = NewAction(this, item);
            a->setText(text);
            m->addAction(a);
        }
        return m;
    };
    // These captions exist in one form only.
    antennaMenu_ = submenu("Antmnu", QStringLiteral("&Antenna"),
                           {{"Ant1", "Antenna 1"},
                            {"Ant2", "Antenna 2"},
                            {"Ant3", "Antenna 3"},
                            {"Ant4", "Antenna 4"},
                            {"Ant5", "Antenna 5"},
                            {"Ant6", "Antenna 6"},
                            {"Ant7", "Antenna 7"},
                            {"Ant8", "Antenna 8"}});
    dvbMenus_ = {
        submenu("Voltmnu", QStringLiteral("&12V"), {{"onv", "&On"}, {"offv", "O&ff"}}),
        submenu("Diseqcdvbmnu", QStringLiteral("&Diseqc"),
                {{"Port1", "Lnb Port &1"},
                 {"Port2", "Lnb Port &2"},
                 {"Port3", "Lnb Port &3"},
                 {"Port4", "Lnb Port &4"}}),
        submenu("SpecInvmnu", QStringLiteral("&Spectrum inversion"),
                {{"Autospi", "&Auto"}, {"Onspi", "&On"}, {"Offspi", "O&ff"}}),
        submenu("ParentCtrlMenu", QStringLiteral("&Parental Control"),
                {{"OnParCtrl", "&On"}, {"OffParCtrl", "O&ff"}}),
        submenu("AutoPmtMenu", QStringLiteral("&AutoPmt"),
                {{"OnAutoPmt", "&On"}, {"OffAutoPmt", "O&ff"}}),
        submenu("AutoPidMenu", QStringLiteral("A&utoPid"),
                {{"OnAutoPid", "&On"}, {"OffAutoPid", "O&ff"}}),
    };
    editingMenu_->addAction(NewAction(this, "STABMenu"));

    RefreshRecentMenu();
}

void MainForm::Wire(const char* name, std::function<void()> command) {
    QAction* a = action(name);
    connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
    wired_.insert(QLatin1String(name));
    if (ready_) UpdateCommands();
}

QAction* MainForm::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void MainForm::SetLanguage() {
    const QString tabNames[8] = {tr("List"),     tr("Data"),   QStringLiteral("Buffer"),
                                 tr("Settings"), tr("Fonts"),  tr("Serial"),
                                 tr("Export"),   tr("Options")};
    for (int i = 0; i < 8; ++i)
        tabs_->setTabText(i, tabNames[i]);
    if (s_.channelFile.isEmpty()) fileName_->setText(tr("No file loaded"));
    forMenu_->setToolTip(tr("Click for menu"));
    expShow_->setToolTip(tr("Show/hide data row"));
    list_->setToolTip(tr("Right click for editing menu"));
    tvRadio_->setToolTip(tr("Change viewing list"));
    title_->setText(s_.ws.CurrentList == ListId::TV ? tr("TV CHANNELS") : tr("RADIO CHANNELS"));

    const std::pair<const char*, QString> captions[] = {
        {"Load_Channel", tr("Load channels")},
        {"Save_Channel", tr("Save channels")},
        {"Load_Settings", tr("Load settings")},
        {"Save_Settings", tr("Save settings")},
        {"Load_Fonts", tr("Load fonts")},
        {"Save_Fonts", tr("Save fonts")},
        {"ImportFormTXT", tr("Import form text file")},
        {"UpgDVB", tr("Upgrade from file")},
        {"DVB2Bin", tr("&Convert to  bin       Ctrl+C")},
        {"Exitmnu", tr("E&xit")},
        {"Export", tr("&Export                    Ctrl+E")},
        {"Serial", tr("&Serial functions")},
        {"Findmnu", tr("&Find                   Ctrl+F")},
        {"Findnemnu", tr("Find &Next           F3")},
        {"Settmnu", tr("Se&ttings")},
        {"Fontmnu", tr("F&onts")},
        {"options", tr("&Option")},
        {"About", tr("&About")},
        {"Help", tr("&Help                        F1")},
        {"Editmnu", tr("&Edit                             Return")},
        {"Insertmnu", tr("&Insert                           Ins")},
        {"Deletemnu", tr("&Delete                         Del")},
        {"Cutmnu", tr("&Move to buffer            Ctrl+X")},
        {"Pastemnu", tr("&Paste all from buffer    Ctrl+V")},
        {"Pastespecialmnu", tr("Paste &Special             Ctrl+Shift+V")},
        {"STABMenu", tr("STAB rotor Position")},
        {"Undomnu", tr("&Undo                             Ctrl+Z")},
        {"Redomnu", tr("&Redo                             Ctrl+Y")},
    };
    for (const auto& [name, text] : captions)
        action(name)->setText(text);
    fileMenu_->setTitle(QStringLiteral("&File"));
    searchMenu_->setTitle(tr("&Search"));
    recentMenu_->setTitle(tr("Recent files"));
    RowSelected(selectedRow());
}

void MainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) SetLanguage();
    QWidget::changeEvent(event);
}

void MainForm::Load() {
    SetLanguage();
    s_.ws.Initialize();
    s_.ws.BufferList.clear();
    if (auto table = LoadAntPos(QFile::encodeName(AppPaths::AntPosFile()).toStdString())) {
        s_.satPos = table->table;
        if (table->rebuilt) {
            prompter_.Tell(Prompter::Icon::Information,
                           tr("<AntPos.txt> does not exist: rebuilt with default values"));
        }
    }
    s_.ws.ConvertToBin = false;
    tabClickArmed_ = false;
    tabs_->setCurrentIndex(0);
    tabClickArmed_ = true;
    currentTab_ = ListTab;
    Fill_List(1);
    if (s_.config.littleBox.toInt() == 1) ToggleDataRow();
}

void MainForm::Fill_List(int position) {
    tagImage_->setVisible(s_.ws.FileType == FileKind::BIN && s_.ws.ImageTables.ImageTagged);
    model_->Refresh();
    const int rows = model_->rowCount();
    const int row = std::clamp(position, 1, rows) - 1;
    const QModelIndex index = model_->index(row);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(index);
    title_->setText(s_.ws.CurrentList == ListId::TV ? tr("TV CHANNELS") : tr("RADIO CHANNELS"));
    count_->setText(QString::number(s_.ws.Current().size()));
    UpdateCommands();
    RowSelected(row + 1);
}

int MainForm::selectedRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

QList<int> MainForm::markedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : list_->selectionModel()->selectedRows())
        rows.append(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

Marks MainForm::marks() const {
    Marks m;
    const int channels = model_->channelCount();
    for (int row : markedRows()) {
        if (row <= channels) m.push_back(static_cast<std::size_t>(row - 1));
    }
    return m;
}

ListSelection MainForm::currentSelection() const {
    return {s_.ws.CurrentList, selectedRow(), marks()};
}

void MainForm::restoreSelection(const ListSelection& selection) {
    s_.ws.CurrentList = selection.list;
    Fill_List(selection.selectedRow);
    QItemSelection marked;
    for (std::size_t m : selection.marks) {
        const QModelIndex i = model_->index(static_cast<int>(m));
        if (i.isValid()) marked.select(i, i);
    }
    list_->selectionModel()->select(marked, QItemSelectionModel::Select);
    UpdateCommands();
}

void MainForm::selectOnly(int row) {
    const QModelIndex index = model_->index(std::clamp(row, 1, model_->rowCount()) - 1);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(index);
}

void MainForm::Refresh() {
    restoreSelection(currentSelection());
}

void MainForm::setUndoState(bool canUndo, bool canRedo) {
    canUndo_ = canUndo;
    canRedo_ = canRedo;
    UpdateCommands();
}

QString MainForm::dataRow() const {
    return showSmall_->text();
}
QString MainForm::title() const {
    return title_->text();
}
QString MainForm::countText() const {
    return count_->text();
}
QString MainForm::fileLabel() const {
    return fileName_->text();
}

void MainForm::RowSelected(int row) {
    if (s_.ws.ChannelCount() == 0 || shiftHeld_) {
        if (s_.ws.ChannelCount() == 0) showSmall_->clear();
        return;
    }
    const auto& list = s_.ws.Current();
    if (row < 1 || row > static_cast<int>(list.size())) {
        showSmall_->clear();
        return;
    }
    const auto index = static_cast<std::size_t>(row - 1);
    const std::string line = DataRowText(list[index], index, s_.ws.FileType, s_.satPos,
                                         Texts::ToLatin1(tr("  STAB rotor position is ")));
    showSmall_->setText(Texts::FromLatin1(line));
    showSmall_->setCursorPosition(0);
}

void MainForm::RememberRow() {
    (s_.ws.CurrentList == ListId::TV ? s_.ws.TVPos : s_.ws.RadioPos) = selectedRow();
}

void MainForm::UpdateCommands() {
    const bool blank = model_->isBlankRow(selectedRow() - 1);
    commands_ = ComputeMainCommands(s_.ws, blank);
    const MainCommands& c = commands_;
    const auto enable = [this](const char* name, bool on) {
        // Only commands that do something are offered.
        action(name)->setEnabled(on && wired_.contains(QLatin1String(name)));
    };
    enable("Editmnu", c.edit && factories_[DataTab] != nullptr);
    enable("Insertmnu", c.insert);
    enable("Deletemnu", c.del);
    enable("Cutmnu", c.cut);
    enable("Pastemnu", c.paste);
    enable("Pastespecialmnu", c.paste);
    enable("UpgDVB", c.upgrade);
    enable("DVB2Bin", c.convert);
    enable("Findmnu", c.search);
    enable("Findnemnu", c.search);
    enable("Export", c.exportList && factories_[ExportTab] != nullptr);
    enable("Settmnu", c.settings && factories_[SettingsTab] != nullptr);
    enable("Fontmnu", factories_[FontsTab] != nullptr);
    enable("Serial", factories_[SerialTab] != nullptr);
    enable("Load_Fonts", false);
    enable("Save_Fonts", false);
    enable("ImportFormTXT", false);
    enable("STABMenu", c.edit && s_.ws.FileType != FileKind::BIN);
    enable("Undomnu", canUndo_);
    enable("Redomnu", canRedo_);
    searchMenu_->setEnabled(c.search);
    tvRadio_->setEnabled(c.tvRadio);
    buffBut_->setEnabled(c.buffer);
    for (int t = DataTab; t <= OptionsTab; ++t) {
        tabs_->setTabEnabled(t - 1, tabEnabled(static_cast<Tab>(t)));
    }
}

bool MainForm::tabEnabled(Tab tab) const {
    const bool window = factories_[tab] != nullptr;
    switch (tab) {
        case ListTab:
            return true;
        case DataTab:
            return window && commands_.edit;
        case BufferTab:
            return window && commands_.buffer;
        case SettingsTab:
            return window && commands_.settings;
        case ExportTab:
            return window && commands_.exportList;
        case FontsTab:
        case SerialTab:
        case OptionsTab:
            return window;
    }
    return false;
}

void MainForm::setToolWindow(Tab tab, WindowFactory factory) {
    factories_[tab] = std::move(factory);
    UpdateCommands();
}

void MainForm::selectTab(Tab tab) {
    if (tab == currentTab_) {
        // The Settings tab opens its window again (the settings windows return through it).
        if (tab == SettingsTab) {
            OpenTab(tab);
        } else if (openChild_) {
            openChild_->activateWindow();
        }
        return;
    }
    tabs_->setCurrentIndex(tab - 1);
}

void MainForm::OnTabClicked(int index) {
    if (!tabClickArmed_) {
        tabClickArmed_ = true;
        return;
    }
    OpenTab(static_cast<Tab>(index + 1));
}

void MainForm::ReturnToList() {
    openChildRaw_ = nullptr;
    if (openChild_) {
        QWidget* child = openChild_;
        openChild_ = nullptr;
        child->close();
        child->deleteLater();
    }
    currentTab_ = ListTab;
    if (tabs_->currentIndex() != 0) {
        tabClickArmed_ = false;
        tabs_->setCurrentIndex(0);
        tabClickArmed_ = true;
    }
    list_->setFocus();
    RowSelected(selectedRow());
}

void MainForm::OpenTab(Tab tab) {
    if (tab == ListTab) {
        ReturnToList();
        emit tabOpened(ListTab);
        return;
    }
    UpdateCommands();
    if (!tabEnabled(tab)) {
        tabClickArmed_ = false;
        tabs_->setCurrentIndex(currentTab_ - 1);
        tabClickArmed_ = true;
        return;
    }
    ShowChild(factories_[tab](window()), tab);
}

void MainForm::replaceOpenChild(QWidget* child) {
    ShowChild(child, static_cast<Tab>(currentTab_));
}

void MainForm::ShowChild(QWidget* child, Tab tab) {
    openChildRaw_ = nullptr;
    if (openChild_ && openChild_ != child) {
        QWidget* old = openChild_;
        openChild_ = nullptr;
        old->close();
        old->deleteLater();
    }
    PlaceBeside(child, window());
    currentTab_ = tab;
    openChild_ = child;
    child->setAttribute(Qt::WA_DeleteOnClose);
    connect(child, &QObject::destroyed, this, [this](QObject* gone) {
        // The tool window closed by itself: back to the list.
        if (gone == openChildRaw_) {
            openChildRaw_ = nullptr;
            openChild_ = nullptr;
            ReturnToList();
        }
    });
    openChildRaw_ = child;
    child->show();
    child->raise();
    child->activateWindow();
    emit tabOpened(tab);
}

void MainForm::SwitchList() {
    if (!tvRadio_->isEnabled()) return;
    if (s_.ws.CurrentList == ListId::TV) {
        s_.ws.TVPos = selectedRow();
        s_.ws.CurrentList = ListId::Radio;
        Fill_List(s_.ws.RadioPos);
    } else {
        s_.ws.RadioPos = selectedRow();
        s_.ws.CurrentList = ListId::TV;
        Fill_List(s_.ws.TVPos);
    }
    list_->setFocus();
}

void MainForm::ToggleDataRow() {
    showSmall_->setVisible(!showSmall_->isVisible());
    expShow_->setArrowType(showSmall_->isVisible() ? Qt::DownArrow : Qt::UpArrow);
}

bool MainForm::dataRowShown() const {
    return !showSmall_->isHidden();
}

void MainForm::ToggleDebugMode() {
    // These two messages exist in English only.
    if (s_.debugMode()) {
        s_.setDebugMode(false, QString());
        prompter_.Tell(Prompter::Icon::Information, QStringLiteral("Debug mode off"));
    } else {
        s_.setDebugMode(true, AppPaths::DebugLogFile());
        prompter_.Tell(Prompter::Icon::Information, QStringLiteral("Debug mode on"));
    }
}

bool MainForm::HandleKeyPress(int key, Qt::KeyboardModifiers mods) {
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    if (model_->rowCount() > 0) UpdateCommands();
    const auto run = [this](const char* name) {
        QAction* a = action(name);
        if (a->isEnabled()) a->trigger();
    };
    if (ctrl && shift && alt && key == Qt::Key_D) {
        ToggleDebugMode();
    } else if (ctrl && shift && key == Qt::Key_Z) {
        run("Redomnu");
    } else if (ctrl && key == Qt::Key_Z) {
        run("Undomnu");
    } else if (ctrl && key == Qt::Key_Y) {
        run("Redomnu");
    } else if (ctrl && key == Qt::Key_C) {
        run("DVB2Bin");
    } else if (ctrl && key == Qt::Key_F) {
        run("Findmnu");
    } else if (key == Qt::Key_M) {
        mainMenu_->popup(forMenu_->mapToGlobal(QPoint(0, forMenu_->height())));
    } else if (key == Qt::Key_F1) {
        list_->setFocus();
        emit helpRequested();
    } else if (key == Qt::Key_F3) {
        run("Findnemnu");
    } else if (ctrl && key == Qt::Key_E) {
        run("Export");
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        selectTab(DataTab);
    } else if (key == Qt::Key_Insert) {
        run("Insertmnu");
    } else if (key == Qt::Key_Delete) {
        run("Deletemnu");
    } else if (ctrl && key == Qt::Key_X) {
        run("Cutmnu");
    } else if (ctrl && shift && key == Qt::Key_V) {
        run("Pastespecialmnu");
    } else if (ctrl && key == Qt::Key_V) {
        run("Pastemnu");
    } else if (key == Qt::Key_Backtab || (shift && key == Qt::Key_Tab)) {
        if (s_.ws.ChannelCount() > 0) emit headerStepRequested(-1);
    } else if (key == Qt::Key_Tab) {
        if (s_.ws.ChannelCount() > 0) emit headerStepRequested(+1);
    } else if (key == Qt::Key_Shift) {
        shiftHeld_ = true;
        return false;  // the list still extends its selection
    } else {
        return false;
    }
    return true;
}

void MainForm::HandleKeyRelease(Qt::KeyboardModifiers stillHeld) {
    if (!(stillHeld & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        shiftHeld_ = false;
    }
    RowSelected(selectedRow());
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (HandleKeyPress(k->key(), k->modifiers())) return true;
    } else if (event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat()) {
            Qt::KeyboardModifiers held = k->modifiers();
            // The released key itself no longer counts as held.
            if (k->key() == Qt::Key_Shift) held &= ~Qt::ShiftModifier;
            if (k->key() == Qt::Key_Control) held &= ~Qt::ControlModifier;
            if (k->key() == Qt::Key_Alt) held &= ~Qt::AltModifier;
            HandleKeyRelease(held);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainForm::PrepareEditingMenu() {
    UpdateCommands();
    const bool blank = model_->isBlankRow(selectedRow() - 1);
    const bool fta = s_.ws.FileType == FileKind::BIN;
    antennaMenu_->setEnabled(fta && !blank);
    if (fta) {
        const QList<QAction*> items = antennaMenu_->actions();
        for (int i = 0; i < items.size() && i < 8; ++i) {
            const std::string& entry = s_.ws.ImageTables.Antennas[static_cast<std::size_t>(i)];
            const QString name =
                Texts::FromLatin1(entry.size() > 20 ? std::string_view(entry).substr(20) : "");
            items[i]->setText(QString::number(i + 1) + ' ' + name.trimmed());
        }
    }
    for (QMenu* m : dvbMenus_)
        m->setEnabled(!fta && !blank);
    for (QMenu* m : dvbMenus_ + QList<QMenu*>{antennaMenu_}) {
        for (QAction* a : m->actions())
            a->setEnabled(wired_.contains(a->objectName()));
    }
}

void MainForm::EditingMenuRequested(const QPoint& pos) {
    if (s_.ws.ChannelCount() == 0) return;
    PrepareEditingMenu();
    editingMenu_->popup(list_->viewport()->mapToGlobal(pos));
}

void MainForm::RefreshRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recent_ != nullptr ? recent_->List() : QStringList();
    for (const QString& path : files) {
        QAction* a = recentMenu_->addAction(QFileInfo(path).fileName());
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] { files_->OpenChannelFile(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

}  // namespace qel
