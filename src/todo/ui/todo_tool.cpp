#include "todo/ui/todo_tool.h"

#include <string>

#include "core/data_folders.h"
#include "platform/atomic_file.h"
#include "todo/todo_folder.h"
#include "todo/ui/todo_board.h"

namespace hinagiku::todo::ui {

void TodoTool::open() {
    if (board_ && board_->isVisible()) {
        board_->raise();
        board_->activateWindow();
        return;
    }
    std::filesystem::path folder;
    try {
        folder = ensureTodoFolder(core::DataFolder(settings_));
    } catch (const platform::IoError&) {
        TodoBoard::messageSink()(
            QString::fromUtf8(core::kMissingFolderMessage.data(),
                              static_cast<qsizetype>(core::kMissingFolderMessage.size()))
                .replace(QLatin1Char('\r'), QLatin1Char('\n')));
        return;
    }
    board_ = TodoBoard::open(settings_, clock_, folder);
}

bool TodoTool::isOpen() const {
    return board_ && board_->isVisible();
}

}  // namespace hinagiku::todo::ui
