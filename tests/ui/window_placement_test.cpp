// Where a tool window opens, as rectangles: beside the frame, clear of what must stay in
// sight and of the windows open already, on the screen; a remembered place only on a screen.
#include <QtTest>

#include "ui/window_placement.h"

namespace qel {

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void placesCoverAsLittleAsCanBe_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("child");
        QTest::addColumn<QList<QRect>>("keepClear");
        QTest::addColumn<QList<QRect>>("others");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("room on the right") << QRect(0, 0, 640, 480) << QSize(300, 400)
                                           << QList<QRect>{} << QList<QRect>{} << QPoint(647, 0);
        QTest::newRow("room on the left") << QRect(900, 100, 380, 480) << QSize(300, 400)
                                          << QList<QRect>{} << QList<QRect>{} << QPoint(592, 100);
        QTest::newRow("no room beside: below the frame's end, on the wider side")
            << QRect(100, 0, 900, 480) << QSize(400, 400) << QList<QRect>{} << QList<QRect>{}
            << QPoint(880, 400);
        QTest::newRow("no room beside, the left wider")
            << QRect(300, 0, 900, 480) << QSize(400, 400) << QList<QRect>{} << QList<QRect>{}
            << QPoint(0, 400);
        QTest::newRow("kept on the screen") << QRect(0, 600, 640, 480) << QSize(300, 400)
                                            << QList<QRect>{} << QList<QRect>{} << QPoint(647, 400);
        QTest::newRow("a frame over the screen: right, below the count")
            << QRect(0, 0, 1280, 800) << QSize(300, 400)
            << QList<QRect>{QRect(1180, 30, 80, 20), QRect(1232, 0, 48, 24)} << QList<QRect>{}
            << QPoint(980, 50);
        QTest::newRow("larger than the screen: at its corner")
            << QRect(200, 100, 640, 480) << QSize(1400, 900)
            << QList<QRect>{QRect(700, 120, 60, 20)} << QList<QRect>{} << QPoint(0, 0);
        QTest::newRow("another tool window on the right: beside it")
            << QRect(0, 0, 640, 480) << QSize(300, 400) << QList<QRect>{}
            << QList<QRect>{QRect(647, 0, 300, 400)} << QPoint(954, 0);
        QTest::newRow("no room beside the other one: below it")
            << QRect(0, 0, 640, 480) << QSize(600, 300) << QList<QRect>{}
            << QList<QRect>{QRect(647, 0, 600, 400)} << QPoint(647, 407);
        QTest::newRow("the count before the other window")
            << QRect(0, 0, 1280, 800) << QSize(300, 400) << QList<QRect>{QRect(1180, 30, 80, 20)}
            << QList<QRect>{QRect(0, 0, 1280, 800)} << QPoint(980, 50);
    }
    void placesCoverAsLittleAsCanBe() {
        QFETCH(QRect, frame);
        QFETCH(QSize, child);
        QFETCH(QList<QRect>, keepClear);
        QFETCH(QList<QRect>, others);
        QFETCH(QPoint, place);
        QCOMPARE(toolWindowPlace(frame, child, QRect(0, 0, 1280, 800), keepClear, others), place);
    }

    void aRememberedPlaceCountsOnlyOnAScreen_data() {
        QTest::addColumn<QRect>("place");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("inside") << QRect(100, 100, 400, 300) << true;
        QTest::newRow("reaching past the right and bottom") << QRect(1200, 700, 400, 300) << true;
        QTest::newRow("title above the top") << QRect(100, -10, 400, 300) << false;
        QTest::newRow("title left of the screens") << QRect(-30, 100, 400, 300) << false;
        QTest::newRow("on the second screen") << QRect(1400, 50, 400, 300) << true;
        QTest::newRow("below the second screen") << QRect(1400, 790, 400, 300) << false;
        QTest::newRow("a screen that is gone") << QRect(3000, 100, 400, 300) << false;
    }
    void aRememberedPlaceCountsOnlyOnAScreen() {
        QFETCH(QRect, place);
        QFETCH(bool, reachable);
        const QList<QRect> screens{QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
        QCOMPARE(qel::reachable(place, screens), reachable);
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::WindowPlacementTest)
#include "window_placement_test.moc"
