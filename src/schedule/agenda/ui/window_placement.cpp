#include "schedule/agenda/ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace hinagiku::schedule {

QPoint placedOnScreen(QPoint stored, QSize frame) {
    QPoint position = stored;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        position.setX(std::min(position.x(), area.right() + 1 - frame.width()));
        position.setY(std::min(position.y(), area.bottom() + 1 - frame.height()));
    }
    position.setX(std::max(position.x(), 0));
    position.setY(std::max(position.y(), 0));
    return position;
}

void placeBeforeShowing(QWidget* window, QPoint stored) {
    window->move(placedOnScreen(stored, window->sizeHint()));
    window->setAttribute(Qt::WA_Moved);
}

int screenHeight() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry().height();
    return 100000;
}

}  // namespace hinagiku::schedule
