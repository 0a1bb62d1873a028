#include "mainwindow/ui/form_rgn.h"

#include <QPainterPath>
#include <QPolygon>

namespace hinagiku::mainwindow {

TFormRgn::TFormRgn(QWidget& owner) : owner_(&owner) {
    apply();
}

TFormRgn::~TFormRgn() {
    if (owner_)
        owner_->clearMask();
}

void TFormRgn::setRgnLeft(int v) {
    left_ = v;
    apply();
}
void TFormRgn::setRgnTop(int v) {
    top_ = v;
    apply();
}
void TFormRgn::setRgnRight(int v) {
    right_ = v;
    apply();
}
void TFormRgn::setRgnBottom(int v) {
    bottom_ = v;
    apply();
}
void TFormRgn::setRgnWidth(int v) {
    cornerWidth_ = v;
    apply();
}
void TFormRgn::setRgnHeight(int v) {
    cornerHeight_ = v;
    apply();
}
void TFormRgn::setStyle(Style style) {
    style_ = style;
    apply();
}
void TFormRgn::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void TFormRgn::setAll(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                      Style style) {
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    cornerWidth_ = cornerWidth;
    cornerHeight_ = cornerHeight;
    style_ = style;
    apply();
}

QRegion TFormRgn::region() const {
    if (!enabled_)
        return {};
    // Right and bottom are exclusive, as the bounds of a window region are.
    const QRect bounds(QPoint(left_, top_), QPoint(right_ - 1, bottom_ - 1));
    switch (style_) {
        case Style::Rect:
            return QRegion(bounds);
        case Style::Ellipse:
            return QRegion(bounds, QRegion::Ellipse);
        case Style::RoundRect: {
            QPainterPath path;
            path.addRoundedRect(QRectF(left_, top_, right_ - left_, bottom_ - top_),
                                cornerWidth_ / 2.0, cornerHeight_ / 2.0);
            return QRegion(path.toFillPolygon().toPolygon());
        }
    }
    return {};
}

void TFormRgn::apply() {
    if (!owner_)
        return;
    const QRegion outline = region();
    if (outline.isEmpty())
        owner_->clearMask();
    else
        owner_->setMask(outline);
}

}  // namespace hinagiku::mainwindow
