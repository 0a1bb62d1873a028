#pragma once

#include <string>

#include "calendar/date_time.h"

namespace hinagiku {

// The moon panel's astronomy: low-precision positions of the sun and the
// moon, the moon's age and phase. Instants are universal time.

inline constexpr double kSynodicMonthDays = 29.530589;

// Julian Date of the instant; 0 for instants before 15 October 1582.
double JulianDate(DateTime instant);

struct EclipticPosition {
    double longitude = 0.0;  // degrees
    double latitude = 0.0;   // degrees
    double distance = 0.0;   // km
};

EclipticPosition SunPosition(DateTime instant);
EclipticPosition MoonPosition(DateTime instant);

// Age in days since the last new moon (0 to one synodic month).
double MoonAge(DateTime instant);
// Degrees, 0 at full moon, 180 at new moon; negative while waning.
double PhaseAngle(DateTime instant);
// Illuminated fraction, 0 to 1.
double Illumination(DateTime instant);

// Everything the panel shows for one instant, from one evaluation of each
// position.
struct MoonValues {
    double julianDate = 0.0;
    double age = 0.0;
    double phaseAngle = 0.0;
    double illumination = 0.0;
};
MoonValues moonValues(DateTime instant);

// The panel's texts.
// JD with 5 decimals in a field of 12 characters.
std::string julianDateText(double julianDate);
// "<d> days, <h> hours, <m> minutes."
std::string moonAgeText(double age);
// Round(100 x illumination), half to even.
int illuminationPercent(double illumination);
// "<p>% (0%=New,100%=Full)"
std::string illuminationText(double illumination);

}  // namespace hinagiku
