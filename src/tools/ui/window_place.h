#pragma once

#include <string>

#include "platform/settings.h"

class QWidget;

namespace hinagiku::tools {

// Moves `window` to the position stored under [section] topKey/leftKey,
// pulled onto the screen as the main window is.
void restorePlace(QWidget* window, const platform::Settings& settings, const std::string& section,
                  const std::string& topKey = "top", const std::string& leftKey = "left");
// Writes the window's position there.
void storePlace(const QWidget* window, platform::Settings& settings, const std::string& section,
                const std::string& topKey = "top", const std::string& leftKey = "left");

// Brings an open window to the front.
void bringToFront(QWidget* window);

}  // namespace hinagiku::tools
