#include "ui/frame_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/app_paths.h"
#include "model/file_commands.h"
#include "ui/buffer_form.h"
#include "ui/editing_controller.h"
#include "ui/file_commands.h"
#include "ui/help_viewer.h"
#include "ui/info_form.h"
#include "ui/main_form.h"
#include "ui/options_form.h"
#include "ui/settings_windows.h"

namespace qel {

namespace {

bool IsChannelFile(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("dvb") || ext == QLatin1String("bin");
}

}  // namespace

FrameWindow::FrameWindow(Session& session, ConfigStore& store, Language& language,
                         RecentFiles* recent, Prompter* prompter, FileChooser* chooser,
                         QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      s_(session),
      store_(store),
      language_(language) {
    setObjectName("QEL");
    if (prompter == nullptr) {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter = ownPrompter_.get();
    }
    if (chooser == nullptr) {
        ownChooser_ = std::make_unique<QtFileChooser>(this);
        chooser = ownChooser_.get();
    }
    prompter_ = prompter;

    pages_ = new QStackedWidget(this);
    info_ = new InfoForm(pages_);
    main_ = new MainForm(session, *prompter, *chooser, recent, pages_);
    pages_->addWidget(info_);
    pages_->addWidget(main_);
    setCentralWidget(pages_);
    connect(info_, &InfoForm::dismissed, this, [this] { OpenMainWindow(); });

    menuBar()->addMenu(main_->fileMenu());
    menuBar()->addMenu(main_->searchMenu());
    qelMenu_ = menuBar()->addMenu(QStringLiteral("&QEL"));
    for (const char* name :
         {"Settmnu", "Fontmnu", "Serial", "Export", "options", "About", "Help"}) {
        qelMenu_->addAction(main_->action(name));
    }
    menuBar()->setEnabled(false);

    main_->setToolWindow(MainForm::OptionsTab, [this](QWidget* parentWindow) {
        return new OptionsForm(s_, store_, language_, parentWindow);
    });
    editing_ = new EditingController(s_, *main_, *prompter_, this);
    main_->setToolWindow(MainForm::BufferTab, [this](QWidget* parentWindow) {
        return new BufferForm(s_, *editing_, *main_, *prompter_, parentWindow);
    });
    new SettingsWindows(s_, *main_, *editing_, this);
    connect(main_, &MainForm::exitRequested, this, &QWidget::close);
    connect(main_, &MainForm::aboutRequested, this, [this] { ShowAbout(); });
    connect(main_, &MainForm::helpRequested, this, [this] { ShowHelp(); });
    connect(&s_, &Session::stateChanged, this, [this] { UpdateTitle(); });
    connect(&s_, &Session::languageChanged, this, [this] {
        if (help_) help_->setEnglish(s_.english());
    });

    setAcceptDrops(true);
    UpdateTitle();
    // A frame of fixed size: it cannot be resized or maximised.
    setFixedSize(sizeHint().expandedTo(QSize(640, 480)));
    info_->setFocus();
}

FrameWindow::~FrameWindow() = default;

bool FrameWindow::aboutShown() const {
    return pages_->currentWidget() == info_;
}

void FrameWindow::OpenMainWindow() {
    if (mainOpened_) return;
    mainOpened_ = true;
    pages_->setCurrentWidget(main_);
    menuBar()->setEnabled(true);
    main_->Load();
    main_->listView()->setFocus();
    if (!fileToOpen_.isEmpty()) {
        if (IsChannelFile(fileToOpen_)) {
            main_->files().OpenChannelFile(QFileInfo(fileToOpen_).absoluteFilePath());
        }
        fileToOpen_.clear();
    }
}

void FrameWindow::ShowAbout() {
    QDialog box(this, Qt::Dialog | Qt::FramelessWindowHint);
    auto* info = new InfoForm(&box);
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(info);
    connect(info, &InfoForm::dismissed, &box, &QDialog::accept);
    box.exec();
}

HelpViewer* FrameWindow::helpViewer() const {
    return help_.data();
}

void FrameWindow::ShowHelp() {
    if (!help_) help_ = new HelpViewer(&AppPaths::HelpIndex, s_.english(), this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

QString FrameWindow::UnsavedQuestion() const {
    QString unsaved;
    if (s_.ws.ChannelsModified) unsaved += tr("Channels ");
    if (s_.ws.SettingsModified) unsaved += tr("Settings ");
    if (s_.ws.FontsModified) unsaved += QStringLiteral("Fonts ");
    if (unsaved.isEmpty()) return {};
    return unsaved + tr("not saved , continue anyway ?");
}

bool FrameWindow::CanClose() {
    if (s_.transferBusy) {
        prompter_->Tell(Prompter::Icon::Critical, tr("Connection in progress.."));
        return false;
    }
    const QString question = UnsavedQuestion();
    if (!question.isEmpty() && prompter_->Ask(Prompter::Icon::Question, question,
                                              Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
        return false;
    }
    s_.setDebugMode(false, QString());
    return true;
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    event->accept();
}

bool FrameWindow::AcceptsDrop(const QMimeData* mime) const {
    if (!mainOpened_ || mime == nullptr || !mime->hasUrls()) return false;
    const QList<QUrl> urls = mime->urls();
    return urls.size() == 1 && urls.front().isLocalFile() &&
           IsChannelFile(urls.front().toLocalFile());
}

bool FrameWindow::OpenDropped(const QMimeData* mime) {
    if (!AcceptsDrop(mime)) return false;
    return main_->files().OpenChannelFile(mime->urls().front().toLocalFile());
}

void FrameWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void FrameWindow::dropEvent(QDropEvent* event) {
    if (!AcceptsDrop(event->mimeData())) return;
    event->acceptProposedAction();
    OpenDropped(event->mimeData());
}

void FrameWindow::UpdateTitle() {
    if (s_.channelFile.isEmpty()) {
        setWindowTitle(QStringLiteral("QEL"));
    } else {
        setWindowTitle(QFileInfo(s_.channelFile).fileName() + QStringLiteral("[*] - QEL"));
    }
    setWindowModified(s_.ws.ChannelsModified);
}

}  // namespace qel
