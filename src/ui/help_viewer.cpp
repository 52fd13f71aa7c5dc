#include "ui/help_viewer.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qel {

namespace {

QUrl pageUrl(const QString& path) {
    return path.startsWith(':') ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
}

}  // namespace

HelpViewer::HelpViewer(std::function<QString(bool)> indexFor, bool english, QWidget* parent)
    : QWidget(parent, Qt::Window), indexFor_(std::move(indexFor)), english_(english) {
    setObjectName("HelpViewer");
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    browser_->setSource(pageUrl(indexFor_(english_)));

    auto* back = new QPushButton(QStringLiteral("<"), this);
    back->setObjectName("back");
    auto* home = new QPushButton(this);
    home->setObjectName("home");
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(home);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);
    resize(760, 560);
    setTexts();
    // Esc and Ctrl+W close the help, as they close other help windows.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* close = new QAction(this);
        close->setShortcut(keys);
        close->setShortcutContext(Qt::WindowShortcut);
        connect(close, &QAction::triggered, this, &QWidget::close);
        addAction(close);
    }
}

QString HelpViewer::currentPage() const {
    return browser_->source().toString();
}

void HelpViewer::showPage(const QString& page) {
    browser_->setSource(pageUrl(indexFor_(english_)).resolved(QUrl(page)));
}

void HelpViewer::setEnglish(bool english) {
    if (english == english_) return;
    english_ = english;
    // The same page in the other language: the Italian pages sit in "it/".
    const QUrl current = browser_->source();
    QUrl page = pageUrl(indexFor_(english)).resolved(QUrl(current.fileName()));
    page.setFragment(current.fragment());
    browser_->clearHistory();
    browser_->setSource(page);
}

void HelpViewer::setTexts() {
    setWindowTitle(tr("QEL help"));
    findChild<QPushButton*>("home")->setText(tr("Contents"));
}

void HelpViewer::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

}  // namespace qel
