#pragma once

#include <QPointer>

#include "platform/clock.h"
#include "platform/settings.h"
#include "todo/ui/todo_board.h"

namespace hinagiku::todo::ui {

// The main window's ToDo board: at most one, brought to the front when open.
class TodoTool {
  public:
    TodoTool(platform::Settings& settings, const platform::Clock& clock)
        : settings_(settings), clock_(clock) {}
    void open();
    bool isOpen() const;
    TodoBoard* board() const { return board_; }

  private:
    platform::Settings& settings_;
    const platform::Clock& clock_;
    QPointer<TodoBoard> board_;
};

}  // namespace hinagiku::todo::ui
