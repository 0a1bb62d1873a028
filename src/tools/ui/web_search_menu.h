#pragma once

#include <QMenu>

#include <functional>

#include "platform/settings.h"

class QLineEdit;

namespace hinagiku::tools {

// The web search menu below the command box: each item opens the browser on
// a search for the box's text, then the box is cleared.
class WebSearchMenu : public QMenu {
    Q_OBJECT
  public:
    WebSearchMenu(platform::Settings& settings, QLineEdit* box, std::function<void()> afterOpen,
                  QWidget* parent = nullptr);

    // Chooses item `number` (1 to 8, separators not counted).
    void choose(int number);

  private:
    platform::Settings& settings_;
    QLineEdit* box_;
    std::function<void()> afterOpen_;
};

}  // namespace hinagiku::tools
