#include "ui/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "app/config_store.h"

namespace qel {

namespace {

// The part of a window that must be on a screen for the user to reach it: its title's start.
constexpr QSize kReachableCorner(64, 16);

// The title bar's height where the window system does not tell it.
constexpr int kTitleBarHeight = 24;
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

QPoint toolWindowPlace(const QRect& frame, const QSize& child, const QRect& screen,
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

bool reachable(const QRect& place, const QList<QRect>& screens) {
    const QRect corner(place.topLeft(), QSize(std::min(place.width(), kReachableCorner.width()),
                                              std::min(place.height(), kReachableCorner.height())));
    return std::any_of(screens.begin(), screens.end(),
                       [&corner](const QRect& screen) { return screen.contains(corner); });
}

QRect closeButtonArea(const QWidget* frame) {
    const QRect outer = frame->frameGeometry();
    const int title = std::max(frame->geometry().top() - outer.top(), kTitleBarHeight);
    return QRect(outer.right() - 2 * title + 1, outer.top(), 2 * title, title);
}

void placeToolWindow(QWidget* window, const QWidget* frame, const QList<QRect>& keepClear,
                     const ConfigStore* store) {
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
    if (store != nullptr) place = store->toolWindowPlace(window->objectName());
    if (!place || !reachable(QRect(*place, outer), screens)) {
        // The tool windows open already stay in sight as far as the screen allows.
        QList<QRect> others;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            if (w != window && w->isVisible() && isPlacedToolWindow(w)) {
                others.append(w->frameGeometry());
            }
        }
        place = toolWindowPlace(frame->frameGeometry(), outer, screen, keepClear, others);
    }
    window->move(*place);
    window->setProperty(kPlacedAt, *place);
}

bool isPlacedToolWindow(const QObject* object) {
    return object->property(kPlacedAt).isValid();
}

void rememberMovedToolWindow(QWidget* window, ConfigStore* store) {
    if (store == nullptr || !window->isVisible()) return;
    const QPoint placed = window->property(kPlacedAt).toPoint();
    if ((window->pos() - placed).manhattanLength() <= kWindowManagerSlack) return;
    store->setToolWindowPlace(window->objectName(), window->pos());
}

}  // namespace qel
