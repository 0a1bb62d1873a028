#pragma once

#include <QIcon>
#include <QPixmap>

namespace hinagiku::phonebook {

// The dial button's picture: a desk telephone with its handset, in two
// states (normal, and greyed and embossed for a disabled button), drawn
// rather than taken from a font so that it looks the same everywhere.
QPixmap dialGlyphPixmap(int size, bool enabled);
QIcon dialGlyph();

}  // namespace hinagiku::phonebook
