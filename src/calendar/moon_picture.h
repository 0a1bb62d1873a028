#pragma once

#include <vector>

#include "calendar/date_time.h"

namespace hinagiku {

// The moon picture's geometry and shading, without any drawing: the window
// loads the full-moon bitmap of the size and blackens the spans listed here.

enum class MoonSize { ms64, ms32, ms16 };

struct MoonDisc {
    int width = 0;
    int height = 0;
    int centreX = 0;
    int centreY = 0;
    int radius = 0;
    const char* resource = "";  // the full-moon bitmap, a Qt resource path
};

MoonDisc moonDisc(MoonSize size);

// One dark run of pixels on row y: x from xBegin up to, not including, xEnd.
struct DarkSpan {
    int y = 0;
    int xBegin = 0;
    int xEnd = 0;
    friend bool operator==(const DarkSpan&, const DarkSpan&) = default;
};

// The unlit part for a phase angle in degrees (put into 0 to 360; below
// 180 while waxing, dark on the left): one span per row of the disc, from
// the top row down.
std::vector<DarkSpan> moonShadow(MoonSize size, double phaseAngle);
// The same for the universal-time instant shown.
std::vector<DarkSpan> moonShadowAt(MoonSize size, DateTime instant);

}  // namespace hinagiku
