#include "calendar/moon_picture.h"

#include <cmath>

#include "calendar/moon.h"

namespace hinagiku {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

double put360(double x) {
    double result = x - 360.0 * std::nearbyint(x / 360.0);
    while (result < 0.0)
        result += 360.0;
    return result;
}

}  // namespace

MoonDisc moonDisc(MoonSize size) {
    switch (size) {
        case MoonSize::ms64:
            return {64, 64, 31, 28, 28, ":/moon/moon_large.png"};
        case MoonSize::ms32:
            return {32, 32, 15, 14, 14, ":/moon/moon_small.png"};
        case MoonSize::ms16:
            break;
    }
    return {16, 16, 7, 7, 7, ":/moon/moon_tiny.png"};
}

std::vector<DarkSpan> moonShadow(MoonSize size, double phaseAngle) {
    const MoonDisc disc = moonDisc(size);
    const double p = put360(phaseAngle);
    const double cosP = std::cos(p * kDegree);
    const int r = disc.radius;
    std::vector<DarkSpan> rows(static_cast<std::size_t>(2 * r + 1));
    for (int h = 0; h <= r; ++h) {
        const double w = std::sqrt(static_cast<double>(r * r - h * h));
        // Banker's rounding, like the rest of the panel's arithmetic.
        const int x0 = static_cast<int>(std::nearbyint(w));
        const int x1 = static_cast<int>(std::nearbyint(w * cosP));
        DarkSpan span;
        if (p < 180.0) {
            // Waxing: dark from the left limb to the terminator.
            span.xBegin = disc.centreX - x0;
            span.xEnd = disc.centreX - x1 + 1;
        } else {
            span.xBegin = disc.centreX + x1;
            span.xEnd = disc.centreX + x0 + 1;
        }
        span.y = disc.centreY - h;
        rows[static_cast<std::size_t>(r - h)] = span;
        span.y = disc.centreY + h;
        rows[static_cast<std::size_t>(r + h)] = span;
    }
    return rows;
}

std::vector<DarkSpan> moonShadowAt(MoonSize size, DateTime instant) {
    return moonShadow(size, PhaseAngle(instant));
}

}  // namespace hinagiku
