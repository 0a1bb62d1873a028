#include "calendar/moon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/moon_picture.h"

namespace hinagiku {
namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0) {
    return makeDateTime(*encodeDate(year, month, day), *encodeTime(hour, minute));
}

struct MoonCase {
    DateTime instant;
    double julianDate;
    double age;
    const char* ageText;
    int percent;
    double phaseAngle;
};

class MoonCasesTest : public ::testing::TestWithParam<MoonCase> {};

TEST_P(MoonCasesTest, Values) {
    const MoonCase& c = GetParam();
    const MoonValues values = moonValues(c.instant);
    EXPECT_NEAR(values.julianDate, c.julianDate, 1e-6);
    EXPECT_NEAR(values.age, c.age, 1e-5);
    EXPECT_EQ(moonAgeText(values.age), c.ageText);
    EXPECT_EQ(illuminationPercent(values.illumination), c.percent);
    EXPECT_NEAR(values.phaseAngle, c.phaseAngle, 1e-3);
    // The single-value operations agree with the per-tick bundle.
    EXPECT_DOUBLE_EQ(MoonAge(c.instant), values.age);
    EXPECT_DOUBLE_EQ(PhaseAngle(c.instant), values.phaseAngle);
    EXPECT_DOUBLE_EQ(Illumination(c.instant), values.illumination);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, MoonCasesTest,
    ::testing::Values(MoonCase{at(2004, 1, 22), 2453026.5, 0.135060, "0 days, 3 hours, 14 minutes.",
                               0, 174.853},
                      MoonCase{at(2004, 1, 29, 6, 3), 2453033.752083, 7.382525,
                               "7 days, 9 hours, 10 minutes.", 50, 89.845},
                      MoonCase{at(2004, 2, 6, 8, 47), 2453041.865972, 14.765156,
                               "14 days, 18 hours, 21 minutes.", 100, 4.980},
                      MoonCase{at(2004, 2, 13, 13, 40), 2453049.069444, 22.147793,
                               "22 days, 3 hours, 32 minutes.", 50, -89.854},
                      MoonCase{at(2000, 1, 1, 12, 0), 2451545.0, 24.850972,
                               "24 days, 20 hours, 25 minutes.", 23, -122.669}));

TEST(MoonTest, MeeusWorkedExample) {
    // 1992 April 12, 0h: lambda 133.162655, beta -3.229126, delta 368409.7 km
    // (the small differences come from the first-edition constants).
    const EclipticPosition moon = MoonPosition(at(1992, 4, 12));
    EXPECT_NEAR(std::remainder(moon.longitude - 133.162655, 360.0), 0.0, 2e-5);
    EXPECT_NEAR(moon.latitude, -3.229126, 2e-6);
    EXPECT_NEAR(moon.distance, 368409.7, 0.1);
    // 1992 October 13, 0h: apparent solar longitude 199.90895 (chapter 25),
    // distance 0.99766 AU. The panel's formula takes off the aberration
    // (20.49" / R) once more, as the displayed ages always have.
    const EclipticPosition sun = SunPosition(at(1992, 10, 13));
    EXPECT_NEAR(sun.longitude, 199.90895 - 0.0056916 / 0.99766, 1e-4);
    EXPECT_NEAR(sun.distance / 149597869.0, 0.99766, 1e-5);
    EXPECT_EQ(sun.latitude, 0.0);
}

TEST(MoonTest, JulianDateAndGregorianStart) {
    EXPECT_DOUBLE_EQ(JulianDate(at(2000, 1, 1)), 2451544.5);
    EXPECT_DOUBLE_EQ(JulianDate(at(1582, 10, 15)), 2299160.5);
    EXPECT_DOUBLE_EQ(JulianDate(at(1582, 10, 15, 6, 0)), 2299160.75);
    EXPECT_EQ(JulianDate(at(1582, 10, 14, 23, 59)), 0.0);
    EXPECT_EQ(JulianDate(at(1000, 1, 1)), 0.0);
    // Before 1899-12-30 the time of day still counts forward.
    EXPECT_DOUBLE_EQ(JulianDate(at(1899, 12, 29, 6, 0)), 2415017.75);
}

TEST(MoonTest, AgeStaysUsefulBeforeTheGregorianStart) {
    // Positions use the real instant even where the Julian Date shows 0: the
    // ages a day apart still differ by about a day.
    const double a = MoonAge(at(1500, 6, 1));
    const double b = MoonAge(at(1500, 6, 2));
    EXPECT_NEAR(std::remainder(b - a, kSynodicMonthDays), 1.0, 0.2);
}

TEST(MoonTest, Texts) {
    EXPECT_EQ(julianDateText(2453026.123454), "2453026.12345");
    EXPECT_EQ(julianDateText(0.0), "     0.00000");
    EXPECT_EQ(moonAgeText(0.0), "0 days, 0 hours, 0 minutes.");
    EXPECT_EQ(moonAgeText(29.5), "29 days, 12 hours, 0 minutes.");
    EXPECT_EQ(illuminationText(0.234), "23% (0%=New,100%=Full)");
    // Round half to even.
    EXPECT_EQ(illuminationPercent(0.125), 12);
    EXPECT_EQ(illuminationPercent(0.135), 14);
    EXPECT_EQ(illuminationPercent(0.005), 0);
}

// Pixels of a row inside the disc: centre - x0 .. centre + x0.
int halfWidth(const MoonDisc& disc, int y) {
    const int h = std::abs(y - disc.centreY);
    return static_cast<int>(std::nearbyint(std::sqrt(disc.radius * disc.radius - h * h * 1.0)));
}

TEST(MoonPictureTest, Discs) {
    const MoonDisc large = moonDisc(MoonSize::ms64);
    EXPECT_EQ(large.width, 64);
    EXPECT_EQ(large.centreX, 31);
    EXPECT_EQ(large.centreY, 28);
    EXPECT_EQ(large.radius, 28);
    const MoonDisc small = moonDisc(MoonSize::ms32);
    EXPECT_EQ(small.centreX, 15);
    EXPECT_EQ(small.centreY, 14);
    EXPECT_EQ(small.radius, 14);
    const MoonDisc tiny = moonDisc(MoonSize::ms16);
    EXPECT_EQ(tiny.centreX, 7);
    EXPECT_EQ(tiny.radius, 7);
}

TEST(MoonPictureTest, ShadingOfTheFourPhases) {
    const MoonDisc disc = moonDisc(MoonSize::ms64);
    const int xc = disc.centreX;
    const struct {
        DateTime instant;
        const char* name;
    } phases[] = {{at(2004, 1, 22), "new"},
                  {at(2004, 1, 29, 6, 3), "first quarter"},
                  {at(2004, 2, 6, 8, 47), "full"},
                  {at(2004, 2, 13, 13, 40), "last quarter"}};
    for (const auto& phase : phases) {
        const auto spans = moonShadowAt(MoonSize::ms64, phase.instant);
        ASSERT_EQ(spans.size(), 57u) << phase.name;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const DarkSpan& s = spans[i];
            EXPECT_EQ(s.y, disc.centreY - disc.radius + static_cast<int>(i));
            const int x0 = halfWidth(disc, s.y);
            const int left = xc - x0;
            const int right = xc + x0 + 1;  // one past the disc's last pixel
            const std::string where = std::string(phase.name) + " row " + std::to_string(s.y);
            switch (&phase - phases) {
                case 0:  // dark but for a sliver at most one pixel wide
                    EXPECT_EQ(s.xBegin, left) << where;
                    EXPECT_GE(s.xEnd, right - 1) << where;
                    break;
                case 1:  // dark left half, lit right half
                    EXPECT_EQ(s.xBegin, left) << where;
                    EXPECT_EQ(s.xEnd, xc + 1) << where;
                    break;
                case 2:  // at most the limb pixel of the row
                    EXPECT_EQ(s.xBegin, left) << where;
                    EXPECT_LE(s.xEnd - s.xBegin, 2) << where;
                    break;
                default:  // dark right half, lit left half
                    EXPECT_EQ(s.xBegin, xc) << where;
                    EXPECT_EQ(s.xEnd, right) << where;
                    break;
            }
        }
    }
}

TEST(MoonPictureTest, ExactSpansOfTheTinyPicture) {
    // 16 pixels, phase 90 (first quarter) and 270 (last quarter).
    const auto waxing = moonShadow(MoonSize::ms16, 90.0);
    const auto waning = moonShadow(MoonSize::ms16, 270.0);
    const int x0[15] = {0, 4, 5, 6, 6, 7, 7, 7, 7, 7, 6, 6, 5, 4, 0};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(waxing[i], (DarkSpan{i, 7 - x0[i], 8})) << i;
        EXPECT_EQ(waning[i], (DarkSpan{i, 7, 8 + x0[i]})) << i;
    }
    // A negative (waning) angle is taken as its place in 0 to 360.
    EXPECT_EQ(moonShadow(MoonSize::ms16, -90.0), waning);
}

}  // namespace
}  // namespace hinagiku
