#include "ui/frame_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/app_paths.h"
#include "files/file_formats.h"
#include "ui/about_box.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"

namespace qel {

namespace {

// A drop goes by the extension after the last dot of the file's name.
bool opensOnDrop(const QString& path) {
    const FileFormat* format =
        findFileFormat(QFile::encodeName(path).toStdString(), ExtensionRule::AfterLastDot);
    return format != nullptr && format->opensOnDrop;
}

}  // namespace

FrameWindow::FrameWindow(Session& session, FrameHost& host, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      session_(session),
      host_(host) {
    setObjectName("QEL");
    pages_ = new QStackedWidget(this);
    about_ = new AboutBox(pages_);
    pages_->addWidget(about_);
    setCentralWidget(pages_);
    connect(about_, &AboutBox::dismissed, this, [this] { openMainWindow(); });
    connect(&session_, &Session::stateChanged, this, [this] { updateTitle(); });
    connect(&session_, &Session::languageChanged, this, [this] {
        if (help_) help_->setEnglish(session_.english());
    });
    menuBar()->setEnabled(false);
    menuBar()->installEventFilter(this);
    setAcceptDrops(true);
    updateTitle();
    about_->setFocus();
}

FrameWindow::~FrameWindow() = default;

// The menu bar shows the main window's menus through mirrors of their actions: the
// captions already name the keys, and a menu bar would name them a second time from the
// actions' shortcuts.
QMenu* FrameWindow::mirrorMenu(QMenu* source) {
    auto* menu = new QMenu(this);
    const auto syncTitle = [menu, source] {
        menu->setTitle(source->title());
        menu->setEnabled(source->isEnabled());
    };
    syncTitle();
    connect(source->menuAction(), &QAction::changed, menu, syncTitle);
    for (QAction* a : source->actions()) {
        if (a->isSeparator()) {
            menu->addSeparator();
        } else if (a->menu() != nullptr) {
            menu->addMenu(a->menu());
        } else {
            QAction* mirror = menu->addAction(a->text());
            // The mirror shows the key in the menu's shortcut column without binding it:
            // the main window runs the keys.
            const auto sync = [mirror, a] {
                const QKeySequence key = a->shortcut();
                mirror->setText(key.isEmpty()
                                    ? a->text()
                                    : a->text() + '\t' + key.toString(QKeySequence::NativeText));
                mirror->setEnabled(a->isEnabled());
                mirror->setVisible(a->isVisible());
            };
            sync();
            connect(a, &QAction::changed, mirror, sync);
            connect(mirror, &QAction::triggered, a, &QAction::trigger);
        }
    }
    return menu;
}

void FrameWindow::setMainWindow(MainWindow* main) {
    main_ = main;
    main_->setParent(pages_);
    connect(main_, &MainWindow::helpRequested, this,
            [this](const QString& page) { showHelp(page); });
    pages_->addWidget(main_);
    menuBar()->addMenu(mirrorMenu(main_->menu(Menu::File)));
    menuBar()->addMenu(mirrorMenu(main_->menu(Menu::Search)));
    auto* qel = new QMenu(this);
    for (Command c : {Command::Settings, Command::Fonts, Command::Serial, Command::Export,
                      Command::Options, Command::About, Command::Help}) {
        qel->addAction(main_->action(c));
    }
    qelMenu_ = mirrorMenu(qel);
    qelMenu_->setTitle(QStringLiteral("&QEL"));
    menuBar()->addMenu(qelMenu_);
    // The list takes what room there is; the frame's first size is its smallest.
    const QSize first = sizeHint().expandedTo(QSize(640, 480));
    setMinimumSize(first);
    resize(first);
}

bool FrameWindow::aboutShown() const {
    return pages_->currentWidget() == about_;
}

void FrameWindow::openMainWindow() {
    if (mainOpened_ || main_ == nullptr) return;
    mainOpened_ = true;
    pages_->setCurrentWidget(main_);
    menuBar()->setEnabled(true);
    emit mainWindowOpened();
    main_->listView()->setFocus();
}

void FrameWindow::showAbout() {
    QDialog box(this, Qt::Dialog | Qt::FramelessWindowHint);
    auto* about = new AboutBox(&box);
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(about);
    connect(about, &AboutBox::dismissed, &box, &QDialog::accept);
    box.exec();
}

HelpViewer* FrameWindow::helpViewer() const {
    return help_.data();
}

void FrameWindow::showHelp(const QString& page) {
    if (!help_) help_ = new HelpViewer(&AppPaths::helpIndex, session_.english(), this);
    if (!page.isEmpty()) help_->showPage(page);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

bool FrameWindow::eventFilter(QObject* watched, QEvent* event) {
    // Esc out of one of its menus, or Alt, leaves the menu bar holding the keyboard, and it
    // would swallow the main window's keys until a second Esc: a command key gives the
    // keyboard back to the list (the bar lets go on losing it) and runs. The bar's own keys
    // (arrows, Return, letters, Esc) stay the bar's.
    if (watched == menuBar() && event->type() == QEvent::KeyPress && main_ != nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (main_->isGlobalCommandKey(key->key(), key->modifiers())) {
            main_->listView()->setFocus();
            main_->handleKeyPress(key->key(), key->modifiers());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    if (!host_.mayClose()) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    event->accept();
}

bool FrameWindow::acceptsDrop(const QMimeData* mime) const {
    if (!mainOpened_ || mime == nullptr || !mime->hasUrls()) return false;
    const QList<QUrl> urls = mime->urls();
    return urls.size() == 1 && urls.front().isLocalFile() &&
           opensOnDrop(urls.front().toLocalFile());
}

bool FrameWindow::openDropped(const QMimeData* mime) {
    if (!acceptsDrop(mime)) return false;
    return host_.openDroppedFile(mime->urls().front().toLocalFile());
}

void FrameWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void FrameWindow::dropEvent(QDropEvent* event) {
    if (!acceptsDrop(event->mimeData())) return;
    event->acceptProposedAction();
    openDropped(event->mimeData());
}

void FrameWindow::updateTitle() {
    if (session_.channelFile().isEmpty()) {
        setWindowTitle(QStringLiteral("QEL"));
    } else {
        setWindowTitle(QFileInfo(session_.channelFile()).fileName() + QStringLiteral("[*] - QEL"));
    }
    const Workspace& ws = session_.workspace();
    setWindowModified(ws.channelsModified() || ws.settingsModified() || ws.fontsModified());
}

}  // namespace qel
