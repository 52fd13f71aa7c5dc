// The about box: the program's picture and version; a click anywhere closes it.
#pragma once

#include <QWidget>

namespace qel {

class AboutBox : public QWidget {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    // "09.00.02": major, minor and revision, each with at least two digits.
    static QString versionText(int major, int minor, int revision);
    static QString versionText();

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize sizeHint() const override { return {600, 380}; }
};

}  // namespace qel
