#include "mainwindow/ui/moon_view.h"

#include <QPainter>

namespace hinagiku::mainwindow {

TMoon::TMoon(QWidget* parent, MoonSize size) : QWidget(parent), size_(size) {
    loadFullMoon();
    picture_ = fullMoon_;
    resize(sizeHint());
}

QSize TMoon::sizeHint() const {
    const MoonDisc disc = moonDisc(size_);
    return {disc.width, disc.height};
}

void TMoon::setMoonSize(MoonSize size) {
    size_ = size;
    loadFullMoon();
    resize(sizeHint());
    if (dated_)
        shade();
    else
        picture_ = fullMoon_;
    update();
}

void TMoon::setDate(DateTime instant) {
    date_ = instant;
    dated_ = true;
    shade();
    update();
}

void TMoon::loadFullMoon() {
    const MoonDisc disc = moonDisc(size_);
    QImage image(QString::fromLatin1(disc.resource));
    if (image.isNull()) {
        // Without the bitmap a plain disc at the same place stands in.
        image = QImage(disc.width, disc.height, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xF0, 0xE8, 0xC0));
        painter.drawEllipse(QPoint(disc.centreX, disc.centreY), disc.radius, disc.radius);
    }
    fullMoon_ = image.convertToFormat(QImage::Format_RGB32);
}

void TMoon::shade() {
    picture_ = fullMoon_;
    for (const DarkSpan& span : moonShadowAt(size_, date_)) {
        if (span.y < 0 || span.y >= picture_.height())
            continue;
        auto* row = reinterpret_cast<QRgb*>(picture_.scanLine(span.y));
        for (int x = std::max(0, span.xBegin); x < std::min(picture_.width(), span.xEnd); ++x) {
            row[x] = qRgb(0, 0, 0);
        }
    }
}

void TMoon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

}  // namespace hinagiku::mainwindow
