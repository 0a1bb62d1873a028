#include "memo/ui/picture_view.h"

#include <QPainter>

namespace hinagiku::memo {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void PictureView::setStretched(bool stretched) {
    stretched_ = stretched;
    update();
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture_.isNull())
        return;
    if (stretched_) {
        painter.drawImage(rect(), picture_);
        return;
    }
    const QPoint corner((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
    painter.drawImage(corner, picture_);
}

}  // namespace hinagiku::memo
