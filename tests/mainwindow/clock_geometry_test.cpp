#include "mainwindow/clock_geometry.h"

#include <gtest/gtest.h>

namespace hinagiku::mainwindow {
namespace {

TEST(ClockGeometry, HandWidthsByRadius) {
    struct Case {
        int radius, hour, minute;
    } cases[] = {{35, 2, 2},  {45, 2, 2},  {46, 3, 2},  {65, 3, 2},   {66, 5, 3},
                 {100, 5, 3}, {101, 6, 4}, {150, 6, 4}, {151, 10, 6}, {300, 10, 6}};
    for (const auto& c : cases) {
        const ClockGeometry g(2 * c.radius, 2 * c.radius + 10, false, false);
        EXPECT_EQ(g.radius(), c.radius);
        EXPECT_EQ(g.hourHandWidth(), c.hour) << c.radius;
        EXPECT_EQ(g.minuteHandWidth(), c.minute) << c.radius;
    }
}

TEST(ClockGeometry, FactorsByOptions) {
    const ClockGeometry big(200, 200, true, false);  // R 100
    EXPECT_DOUBLE_EQ(big.minuteFactor(), 0.65);
    EXPECT_DOUBLE_EQ(big.innerMarkFactor(), 0.695);
    const ClockGeometry small(120, 120, true, false);  // R 60
    EXPECT_DOUBLE_EQ(small.hourFactor(), 0.46);
    EXPECT_DOUBLE_EQ(small.outerMarkFactor(), 0.745);
    const ClockGeometry plain(70, 70, false, true);  // the main window's clock
    EXPECT_EQ(plain.radius(), 35);
    EXPECT_EQ(plain.centre(), (ClockPoint{35, 35}));
    EXPECT_DOUBLE_EQ(plain.innerMarkFactor(), 0.895);
    EXPECT_DOUBLE_EQ(plain.secondFactor(), 0.875);
    EXPECT_EQ(plain.centreDotRadius(), 4);  // 3.5 rounds to even
}

TEST(ClockGeometry, HandTipsPointTheRightWay) {
    const ClockGeometry g(200, 200, false, false);  // R 100, centre 100,100
    EXPECT_EQ(g.hourTip(3, 0), (ClockPoint{164, 100}));
    EXPECT_EQ(g.hourTip(15, 0), (ClockPoint{164, 100}));
    EXPECT_EQ(g.hourTip(0, 0), (ClockPoint{100, 36}));
    EXPECT_EQ(g.hourTip(6, 0), (ClockPoint{100, 164}));
    EXPECT_EQ(g.hourTip(21, 0), (ClockPoint{36, 100}));
    EXPECT_EQ(g.minuteTip(0), (ClockPoint{100, 20}));
    EXPECT_EQ(g.minuteTip(30), (ClockPoint{100, 180}));
    const ClockGeometry mainClock(70, 70, false, true);
    EXPECT_EQ(mainClock.secondTip(15), (ClockPoint{66, 35}));  // 0.875 R to the right
    EXPECT_EQ(mainClock.secondTip(0), (ClockPoint{35, 4}));
    // Half past: the hour hand halfway between the hours.
    const ClockPoint half = g.hourTip(1, 30);
    EXPECT_EQ(half, g.pointAt(45.0, g.hourFactor()));
}

TEST(ClockGeometry, ScaleRunsFromTwelveAnticlockwise) {
    EXPECT_EQ(ClockGeometry::numeralAt(15), 12);
    EXPECT_EQ(ClockGeometry::numeralAt(30), 9);
    EXPECT_EQ(ClockGeometry::numeralAt(70), 1);
    const ClockGeometry g(200, 200, true, false);
    EXPECT_EQ(g.pointAt(ClockGeometry::scaleAngle(15), 0.87), (ClockPoint{100, 13}));
    EXPECT_EQ(g.pointAt(ClockGeometry::scaleAngle(30), 0.87), (ClockPoint{13, 100}));
}

}  // namespace
}  // namespace hinagiku::mainwindow
