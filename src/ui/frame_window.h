// The program's frame: a window that shows the about box at start and then the main
// window, with the menu bar, the close check, files dropped on it, and a title that names
// the file and marks unsaved work.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/session.h"

class QMimeData;
class QStackedWidget;

namespace qel {

class AboutBox;
class HelpViewer;
class MainWindow;

// What the frame asks of the program.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    // Asked before the program closes: true when it may.
    virtual bool mayClose() = 0;
    // Opens a channel file dropped on the window: true when it was loaded.
    virtual bool openDroppedFile(const QString& path) = 0;
};

class FrameWindow : public QMainWindow {
    Q_OBJECT

public:
    FrameWindow(Session& session, FrameHost& host, QWidget* parent = nullptr);
    ~FrameWindow() override;

    // The main window, shown when the about box is dismissed; its menus join the bar.
    void setMainWindow(MainWindow* main);
    MainWindow& mainWindow() const { return *main_; }
    bool aboutShown() const;

    // Closes the about box and shows the main window (once).
    void openMainWindow();

    // A single .dvb or .bin file dropped on the window opens like one loaded.
    bool acceptsDrop(const QMimeData* mime) const;
    bool openDropped(const QMimeData* mime);

    void showAbout();
    // Shows the help window: at `page` of the help when one is named.
    void showHelp(const QString& page = QString());
    HelpViewer* helpViewer() const;

signals:
    void mainWindowOpened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateTitle();
    QMenu* mirrorMenu(QMenu* source);

    Session& session_;
    FrameHost& host_;
    QStackedWidget* pages_;
    AboutBox* about_;
    MainWindow* main_ = nullptr;
    QMenu* qelMenu_ = nullptr;
    QPointer<HelpViewer> help_;
    bool mainOpened_ = false;
};

}  // namespace qel
