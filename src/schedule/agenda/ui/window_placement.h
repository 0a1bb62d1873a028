#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace hinagiku::schedule {

// A stored position kept on the screen: a negative top or left becomes 0,
// a window that would cross the right or bottom edge is moved back to touch
// it. `frame` is the window's outer size.
QPoint placedOnScreen(QPoint stored, QSize frame);
// Moves a window that is not shown yet to its stored position (kept on the
// screen by its size hint), so that the window manager places it there even
// at 0, 0.
void placeBeforeShowing(QWidget* window, QPoint stored);

// The available height of the primary screen (a large value without one).
int screenHeight();

}  // namespace hinagiku::schedule
