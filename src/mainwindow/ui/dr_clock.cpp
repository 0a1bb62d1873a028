#include "mainwindow/ui/dr_clock.h"

#include <qdrawutil.h>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include "calendar/date_time.h"

namespace hinagiku::mainwindow {
namespace {

const platform::Clock& systemClock() {
    static const platform::SystemClock clock;
    return clock;
}

// The first step comes at once, then a little faster than once a second so
// that no displayed second is ever skipped.
constexpr int kFirstTickMs = 1;
constexpr int kTickMs = 990;

QPoint toPoint(ClockPoint p) {
    return {p.x, p.y};
}

}  // namespace

TDRClock::TDRClock(QWidget* parent, const platform::Clock* clock)
    : QWidget(parent), clock_(clock != nullptr ? clock : &systemClock()) {
    resize(200, 200);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (timer_.interval() != kTickMs)
            timer_.setInterval(kTickMs);
        tick();
    });
    updateTimer();
}

void TDRClock::setBorder(Border border) {
    border_ = border;
    update();
}
void TDRClock::setFaceColor(const QColor& color) {
    face_ = color;
    update();
}
void TDRClock::setPointerColor(const QColor& color) {
    if (pointer_ == color)
        return;
    pointer_ = color;
    update();
}
void TDRClock::setSecondsColor(const QColor& color) {
    seconds_ = color;
    update();
}
void TDRClock::setScaleColor(const QColor& color) {
    scale_ = color;
    update();
}
void TDRClock::setFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}
void TDRClock::setDisplayText(bool on) {
    displayText_ = on;
    update();
}
void TDRClock::setDisplayPoints(bool on) {
    displayPoints_ = on;
    update();
}

ClockGeometry TDRClock::geometry() const {
    return ClockGeometry(width(), height(), displayText_, displayPoints_);
}

void TDRClock::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        updateTimer();
    QWidget::changeEvent(event);
}

void TDRClock::updateTimer() {
    if (isEnabled()) {
        if (!timer_.isActive())
            timer_.start(kFirstTickMs);
    } else {
        timer_.stop();
    }
}

bool TDRClock::tick() {
    const ClockTime now = decodeTime(clock_->now());
    if (drawn_.hour >= 0 && now.second == drawn_.second && now.minute == drawn_.minute &&
        now.hour == drawn_.hour) {
        return false;
    }
    drawn_ = {now.hour, now.minute, now.second};
    update();
    return true;
}

void TDRClock::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ClockGeometry g = geometry();
    const int r = g.radius();
    const QPoint centre = toPoint(g.centre());

    if (border_ == Border::Single) {
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(face_);
        painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), r / 3, r / 3);
    } else {
        painter.fillRect(rect(), face_);
        if (border_ == Border::Raised || border_ == Border::Lowered) {
            qDrawShadePanel(&painter, rect(), palette(), border_ == Border::Lowered, 2);
        }
    }

    // Scale, from 12 o'clock anticlockwise round the face.
    for (int i = 15; i <= 74; ++i) {
        const double angle = ClockGeometry::scaleAngle(i);
        const bool hour = ClockGeometry::isHourMark(i);
        if (displayPoints_) {
            const QPoint p = toPoint(g.pointAt(angle, g.innerMarkFactor()));
            int dot = 0;
            if (r > 135)
                dot = hour ? 3 : 1;
            else if (hour)
                dot = 1;
            if (dot > 0) {
                painter.setPen(scale_);
                painter.setBrush(scale_);
                painter.drawEllipse(p, dot, dot);
            }
        } else if (hour) {
            painter.setPen(QPen(scale_, 2));
            painter.drawLine(toPoint(g.pointAt(angle, g.innerMarkFactor())),
                             toPoint(g.pointAt(angle, g.outerMarkFactor())));
        }
        if (displayText_ && hour) {
            const QString numeral = QString::number(ClockGeometry::numeralAt(i));
            const QPoint p = toPoint(g.pointAt(angle, g.numeralFactor()));
            const QFontMetrics metrics(font());
            painter.setPen(fontColor_);
            painter.drawText(p.x() - metrics.horizontalAdvance(numeral) / 2,
                             p.y() - metrics.height() / 2 + metrics.ascent(), numeral);
        }
    }

    if (drawn_.hour < 0)
        return;
    painter.setPen(QPen(seconds_, 1));
    painter.drawLine(centre, toPoint(g.secondTip(drawn_.second)));
    painter.setPen(QPen(pointer_, g.minuteHandWidth()));
    painter.drawLine(centre, toPoint(g.minuteTip(drawn_.minute)));
    painter.setPen(QPen(pointer_, g.hourHandWidth()));
    painter.drawLine(centre, toPoint(g.hourTip(drawn_.hour, drawn_.minute)));
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.setBrush(QColor(0x80, 0x80, 0x80));
    const int dot = g.centreDotRadius();
    painter.drawEllipse(centre, dot, dot);
}

}  // namespace hinagiku::mainwindow
