#include "richtext/ui/ruler_geometry.h"

#include <cmath>

namespace hinagiku::richtext::ui {
namespace {

int roundHalfAway(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

MarkerPositions markerPositions(const Indents& indents, int rulerWidth) {
    return {roundHalfAway(indents.first * 4.0 / 3.0) + 2,
            roundHalfAway((indents.first + indents.left) * 4.0 / 3.0) + 2,
            rulerWidth - roundHalfAway((indents.right + 6) * 4.0 / 3.0) - 6};
}

Indents indentsFromMarkers(const MarkerPositions& markers, int rulerWidth, int grabOffset) {
    Indents indents;
    indents.first = roundHalfAway((markers.first + grabOffset - 6) * 3.0 / 4.0);
    indents.left = roundHalfAway((markers.left + grabOffset - 6) * 3.0 / 4.0) - indents.first;
    indents.right = roundHalfAway((rulerWidth + grabOffset - markers.right - 2) * 3.0 / 4.0) - 12;
    return indents;
}

Indents indentsFromMargins(const BlockMargins& margins) {
    return {roundHalfAway((margins.leftMargin + margins.textIndent) * 3.0 / 4.0),
            roundHalfAway(-margins.textIndent * 3.0 / 4.0),
            roundHalfAway(margins.rightMargin * 3.0 / 4.0)};
}

BlockMargins marginsFromIndents(const Indents& indents) {
    return {(indents.first + indents.left) * 4.0 / 3.0, -indents.left * 4.0 / 3.0,
            indents.right * 4.0 / 3.0};
}

}  // namespace hinagiku::richtext::ui
