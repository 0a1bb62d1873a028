#include "mainwindow/clock_geometry.h"

#include <algorithm>
#include <cmath>

namespace hinagiku::mainwindow {
namespace {
constexpr double kPi = 3.14159265358979323846;
// Coordinates round half to even (the default rounding mode).
}  // namespace

ClockGeometry::ClockGeometry(int width, int height, bool displayText, bool displayPoints)
    : radius_(std::min(width / 2, height / 2)), centre_{width / 2, height / 2} {
    if (displayText && radius_ > 60) {
        minute_ = 0.65;
        hour_ = 0.49;
        inner_ = 0.695;
        outer_ = 0.775;
    } else if (displayText) {
        minute_ = 0.62;
        hour_ = 0.46;
        inner_ = 0.645;
        outer_ = 0.745;
    } else {
        minute_ = 0.80;
        hour_ = 0.64;
        inner_ = 0.855;
        outer_ = 0.93;
    }
    if (displayPoints)
        inner_ += 0.04;
}

int ClockGeometry::centreDotRadius() const {
    return static_cast<int>(std::lrint(0.1 * radius_));
}

int ClockGeometry::hourHandWidth() const {
    if (radius_ <= 45)
        return 2;
    if (radius_ <= 65)
        return 3;
    if (radius_ <= 100)
        return 5;
    if (radius_ <= 150)
        return 6;
    return 10;
}

int ClockGeometry::minuteHandWidth() const {
    if (radius_ <= 65)
        return 2;
    if (radius_ <= 100)
        return 3;
    if (radius_ <= 150)
        return 4;
    return 6;
}

ClockPoint ClockGeometry::pointAt(double angleDegrees, double factor) const {
    const double a = angleDegrees * kPi / 180.0;
    const double length = factor * radius_;
    return {centre_.x + static_cast<int>(std::lrint(std::cos(a) * length)),
            centre_.y + static_cast<int>(std::lrint(-std::sin(a) * length))};
}

double ClockGeometry::hourAngle(int hour, int minute) {
    return std::fabs(12.0 - (hour + minute / 60.0) + 15.0) * 30.0;
}

}  // namespace hinagiku::mainwindow
