#pragma once

#include <QImage>
#include <QSize>

#include <string>

namespace hinagiku::schedule {

// The picture box of a popup window.
inline constexpr QSize kPopupPictureSize{137, 137};

// A picture file as the popup window loads it.
struct PopupPicture {
    QImage image;       // null when nothing was loaded
    std::string error;  // why a file that exists could not be shown; empty otherwise
};

// Loads a popup picture by its extension, compared in upper case: ".BMP" as
// a bitmap, ".JPG" through the JPEG decoder (while holding the process-wide
// JPEG-busy flag); any other extension loads nothing, without an error.
// `fullSize` false lets the decoder reduce the picture as far as it still
// covers `box` (a stretched picture that is not also the wallpaper needs no
// more). A picture cut short shows what could be decoded.
PopupPicture loadPopupPicture(const std::string& path, bool fullSize,
                              QSize box = kPopupPictureSize);

// The picture a popup window shows until one is loaded: a daisy.
const QImage& defaultPopupPicture();

// What the picture box shows of `image`: stretched over the whole box, or at
// its own size, centred and cut to the box.
QImage popupPictureView(const QImage& image, bool stretch, QSize box = kPopupPictureSize);

}  // namespace hinagiku::schedule
