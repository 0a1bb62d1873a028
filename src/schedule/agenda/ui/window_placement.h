#pragma once

#include <QPoint>
#include <QSize>

namespace hinagiku::schedule {

// A stored position kept on the screen: a negative top or left becomes 0,
// a window that would cross the right or bottom edge is moved back to touch
// it. `frame` is the window's outer size.
QPoint placedOnScreen(QPoint stored, QSize frame);
// The available height of the primary screen (a large value without one).
int screenHeight();

}  // namespace hinagiku::schedule
