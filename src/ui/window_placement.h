// Where a tool window opens: first a pure computation over rectangles on the screen, without
// windows, so that it is tested on screens of any size; then the placing of a real window by
// it, and the remembering of where the user moves one.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QObject;
class QWidget;

namespace qel {

class ConfigStore;

// The room left between a tool window and the frame it opens beside.
inline constexpr int kToolWindowGap = 8;

// Where a tool window of `child` size opens: whole on `screen`, over as little as it can of
// the `keepClear` areas first, then of the `others` (the tool windows open already), then of
// `frame`; of the places that do as well, the one nearest the frame's right side.
QPoint toolWindowPlace(const QRect& frame, const QSize& child, const QRect& screen,
                       const QList<QRect>& keepClear = {}, const QList<QRect>& others = {});

// Whether a window at `place` can be reached: its top left corner, where its title is, lies
// on one of `screens`.
bool reachable(const QRect& place, const QList<QRect>& screens);

// The close button in the frame's top right corner, as high as its title bar where the window
// system tells.
QRect closeButtonArea(const QWidget* frame);
// Puts a tool window not shown yet where the user last put it (`store`, may be null) if that
// place is still on a screen, else by toolWindowPlace beside `frame`, clear of `keepClear` and
// of the tool windows open already.
void placeToolWindow(QWidget* window, const QWidget* frame, const QList<QRect>& keepClear,
                     const ConfigStore* store);
// Whether the object is a window placeToolWindow placed.
bool isPlacedToolWindow(const QObject* object);
// A placed window moved: a move by the user, not the window manager's nudge, is remembered.
void rememberMovedToolWindow(QWidget* window, ConfigStore* store);

}  // namespace qel
