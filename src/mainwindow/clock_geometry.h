#pragma once

namespace hinagiku::mainwindow {

struct ClockPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ClockPoint&, const ClockPoint&) = default;
};

// Measures of the analog clock face for a control size and options: radius,
// hand widths and the radius factors of hands, marks and numerals.
class ClockGeometry {
  public:
    ClockGeometry(int width, int height, bool displayText, bool displayPoints);

    int radius() const { return radius_; }
    ClockPoint centre() const { return centre_; }
    int centreDotRadius() const;
    int hourHandWidth() const;
    int minuteHandWidth() const;

    double minuteFactor() const { return minute_; }
    double hourFactor() const { return hour_; }
    double innerMarkFactor() const { return inner_; }
    double outerMarkFactor() const { return outer_; }
    double numeralFactor() const { return 0.87; }
    double secondFactor() const { return inner_ - 0.02; }

    // Point at `angleDegrees` (anticlockwise from 3 o'clock) and
    // `factor` times the radius from the centre, rounded.
    ClockPoint pointAt(double angleDegrees, double factor) const;

    // Scale position i = 15..74 (every fifth an hour mark).
    static double scaleAngle(int i) { return 6.0 * i; }
    static bool isHourMark(int i) { return i % 5 == 0; }
    static int numeralAt(int i) { return (75 - i) / 5; }

    // Hand angles for a time of day.
    static double secondAngle(int second) { return (75 - second) * 6.0; }
    static double minuteAngle(int minute) { return (75 - minute) * 6.0; }
    static double hourAngle(int hour, int minute);

    ClockPoint secondTip(int second) const { return pointAt(secondAngle(second), secondFactor()); }
    ClockPoint minuteTip(int minute) const { return pointAt(minuteAngle(minute), minute_); }
    ClockPoint hourTip(int hour, int minute) const {
        return pointAt(hourAngle(hour, minute), hour_);
    }

  private:
    int radius_;
    ClockPoint centre_;
    double minute_;
    double hour_;
    double inner_;
    double outer_;
};

}  // namespace hinagiku::mainwindow
