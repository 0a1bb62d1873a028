#include "tools/ui/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "mainwindow/window_modes.h"

namespace hinagiku::tools {

void restorePlace(QWidget* window, const platform::Settings& settings, const std::string& section,
                  const std::string& topKey, const std::string& leftKey) {
    int left = settings.readInt(section, leftKey, 0);
    int top = settings.readInt(section, topKey, 0);
    mainwindow::ScreenRect screen;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QRect area = primary->geometry();
        screen = {area.left(), area.top(), area.width(), area.height()};
    }
    const QSize size = window->frameGeometry().size().expandedTo(window->sizeHint());
    if (screen.width > 0)
        mainwindow::pullOnScreen(left, top, size.width(), size.height(), screen);
    window->move(left, top);
}

void storePlace(const QWidget* window, platform::Settings& settings, const std::string& section,
                const std::string& topKey, const std::string& leftKey) {
    settings.writeInt(section, topKey, window->y());
    settings.writeInt(section, leftKey, window->x());
}

void bringToFront(QWidget* window) {
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}

}  // namespace hinagiku::tools
