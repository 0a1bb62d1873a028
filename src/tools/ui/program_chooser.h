#pragma once

#include <QString>

class QWidget;

namespace hinagiku::tools {

// The file chooser for a program: the filter "実行ﾌｧｲﾙ" shows folders,
// executables and desktop entries (and shell links when `withLinks`), the
// other filter every file. Starts at `current` when that file exists.
// Returns the chosen path, empty when cancelled.
QString chooseProgramFile(QWidget* parent, const QString& current, bool withLinks);

}  // namespace hinagiku::tools
