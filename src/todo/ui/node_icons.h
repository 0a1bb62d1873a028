#pragma once

#include <QIcon>

namespace hinagiku::todo::ui {

enum class NodeIcon { FolderClosed, FolderOpen, Item, TrashEmpty, TrashFull };

// The outline's icons, drawn here so that each state looks different under
// any style and icon theme. The item icon has a pixmap of its own for the
// selected row (QIcon::Selected), which the view uses by itself.
const QIcon& nodeIcon(NodeIcon which);

}  // namespace hinagiku::todo::ui
