#pragma once

#include <QColor>
#include <QFont>

namespace hinagiku::schedule {

// The fixed-pitch font of the popup texts, "ＭＳ ゴシック", with the fixed-pitch
// Japanese fonts a Linux desktop has in its place.
QFont popupFixedFont();

// The date panel's colours: red on a Sunday, fuchsia on a Saturday, blue
// otherwise (DayOfWeek 1 .. 7).
QColor popupDayColour(int dayOfWeek);

}  // namespace hinagiku::schedule
