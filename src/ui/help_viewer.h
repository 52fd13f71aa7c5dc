// The user help, shown in a window of the program; links to the web open in the
// desktop browser.
#pragma once

#include <QWidget>
#include <functional>

class QTextBrowser;

namespace qel {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // `indexFor(english)` gives the first page of the help in that language.
    HelpViewer(std::function<QString(bool english)> indexFor, bool english,
               QWidget* parent = nullptr);
    QString currentPage() const;
    // Shows `page` (such as "buffer.html" or "settings.html#fta") of the help in its language.
    void showPage(const QString& page);
    // Shows the help in the other language, at the same page.
    void setEnglish(bool english);

protected:
    void changeEvent(QEvent* event) override;

private:
    void setTexts();
    std::function<QString(bool)> indexFor_;
    bool english_;
    QTextBrowser* browser_;
};

}  // namespace qel
