#pragma once

namespace hinagiku::richtext::ui {

// The indent ruler's arithmetic: paragraph indents in points, markers in
// pixels at 4/3 pixels per point. `first` is the first line's indent from
// the left edge, `left` the following lines' indent relative to it.
struct Indents {
    int first = 0;
    int left = 0;
    int right = 0;
    bool operator==(const Indents&) const = default;
};

struct MarkerPositions {
    int first = 0;  // left edges, pixels
    int left = 0;
    int right = 0;
    bool operator==(const MarkerPositions&) const = default;
};

inline constexpr int kMarkerWidth = 8;
inline constexpr int kGrabOffset = kMarkerWidth / 2;

MarkerPositions markerPositions(const Indents& indents, int rulerWidth);

// The indents after a drag released with the markers at `markers`.
Indents indentsFromMarkers(const MarkerPositions& markers, int rulerWidth,
                           int grabOffset = kGrabOffset);

// Between the ruler's points and a block's margins (pixels at 96 dpi, the
// unit QTextBlockFormat uses here): first = left margin + text indent,
// left = −text indent.
struct BlockMargins {
    double leftMargin = 0;
    double textIndent = 0;
    double rightMargin = 0;
};
Indents indentsFromMargins(const BlockMargins& margins);
BlockMargins marginsFromIndents(const Indents& indents);

}  // namespace hinagiku::richtext::ui
