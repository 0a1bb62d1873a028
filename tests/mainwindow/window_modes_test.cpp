#include "mainwindow/window_modes.h"

#include <gtest/gtest.h>

#include "support/memory_settings.h"

namespace hinagiku::mainwindow {
namespace {

using testing::MemorySettings;
const ScreenRect kScreen{0, 0, 1024, 768};

TEST(WindowModes, PositionKeysByHeight) {
    EXPECT_EQ(positionKeysFor(72).top, "top");
    EXPECT_EQ(positionKeysFor(72).left, "left");
    EXPECT_EQ(positionKeysFor(190).top, "top_cal");
    EXPECT_EQ(positionKeysFor(190).left, "left_cal");
    EXPECT_EQ(positionKeysFor(19).top, "top_mini");
    EXPECT_EQ(positionKeysFor(100).left, "left_mini");
}

TEST(WindowModes, PullOnScreen) {
    struct Case {
        int left, top, height, wantLeft, wantTop;
    } cases[] = {
        {10, 10, 72, 10, 10},       // inside
        {-5, -7, 72, 0, 0},         // negative edges
        {900, 700, 190, 784, 578},  // far edges
        {-5, 700, 190, 0, 578},     // both kinds: the far-edge rule last
        {0, -3, 800, 0, 0},         // taller than the screen: stays at the top
    };
    for (const auto& c : cases) {
        int left = c.left;
        int top = c.top;
        pullOnScreen(left, top, kWindowWidth, c.height, kScreen);
        EXPECT_EQ(left, c.wantLeft) << c.left << ',' << c.top;
        EXPECT_EQ(top, c.wantTop) << c.left << ',' << c.top;
    }
    // A screen that does not start at the origin.
    int left = 10;
    int top = 10;
    pullOnScreen(left, top, kWindowWidth, 72, {1024, 0, 800, 600});
    EXPECT_EQ(left, 1024);
}

TEST(WindowModes, RestoreAtFirstStartIsTopRightBaseMode) {
    MemorySettings settings;
    const WindowState state = ModeRules::restore(settings, kScreen);
    EXPECT_EQ(state.height, kBaseHeight);
    EXPECT_TRUE(state.buttonBar);
    EXPECT_EQ(state.top, 0);
    EXPECT_EQ(state.left, 1024 - kWindowWidth);
}

TEST(WindowModes, RestoreByStoredHeight) {
    MemorySettings settings;
    settings.writeInt("Form", "Height", 19);
    settings.writeInt("Form", "top_mini", 500);
    settings.writeInt("Form", "left_mini", -20);
    WindowState state = ModeRules::restore(settings, kScreen);
    EXPECT_EQ(state.height, kMiniHeight);
    EXPECT_FALSE(state.buttonBar);
    EXPECT_EQ(state.top, 500);
    EXPECT_EQ(state.left, 0);

    settings.writeInt("Form", "Height", 190);
    settings.writeInt("Form", "top_cal", 700);
    settings.writeInt("Form", "left_cal", 100);
    state = ModeRules::restore(settings, kScreen);
    EXPECT_EQ(state.height, kCalendarHeight);
    EXPECT_EQ(state.top, 768 - 190);

    // An odd height keeps the base layout and the mini clock position.
    settings.writeInt("Form", "Height", 100);
    state = ModeRules::restore(settings, kScreen);
    EXPECT_EQ(state.height, 100);
    EXPECT_TRUE(state.buttonBar);
    EXPECT_EQ(state.top, 500);
}

TEST(WindowModes, CycleBaseAndCalendar) {
    MemorySettings settings;
    WindowState state{kBaseHeight, true, 300, 200, false};
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.height, kCalendarHeight);
    EXPECT_EQ(settings.readInt("Form", "Height", 0), kCalendarHeight);
    EXPECT_EQ(state.left, 300);  // without ModeSave the window stays
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.height, kBaseHeight);
    EXPECT_TRUE(state.buttonBar);
    EXPECT_EQ(settings.readInt("Form", "Height", 0), kBaseHeight);
}

TEST(WindowModes, CycleMiniClockWithMinitokei) {
    MemorySettings settings;
    settings.writeBool("Form", "minitokei", true);
    WindowState state{kBaseHeight, true, 0, 0, false};
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.height, kCalendarHeight);
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.height, kMiniHeight);
    EXPECT_FALSE(state.buttonBar);
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.height, kCalendarHeight);
    EXPECT_TRUE(state.buttonBar);
    // An odd height goes to calendar mode first.
    state = ModeRules::cycle({100, true, 0, 0, false}, settings, kScreen);
    EXPECT_EQ(state.height, kCalendarHeight);
}

TEST(WindowModes, ModeSaveMovesToEachModesPositionOnScreen) {
    MemorySettings settings;
    settings.writeBool("Form", "ModeSave", true);
    settings.writeInt("Form", "top_cal", 650);  // partly below the screen
    settings.writeInt("Form", "left_cal", 50);
    settings.writeInt("Form", "top", 5);
    settings.writeInt("Form", "left", 900);  // partly right of it
    WindowState state{kBaseHeight, true, 10, 10, false};
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.top, 768 - 190);
    EXPECT_EQ(state.left, 50);
    state = ModeRules::cycle(state, settings, kScreen);
    EXPECT_EQ(state.top, 5);
    EXPECT_EQ(state.left, 1024 - 240);
    // A mode without a stored position keeps the current one.
    settings.writeBool("Form", "minitokei", true);
    state = ModeRules::cycle({kCalendarHeight, true, 70, 80, false}, settings, kScreen);
    EXPECT_EQ(state.height, kMiniHeight);
    EXPECT_EQ(state.left, 70);
    EXPECT_EQ(state.top, 80);
}

TEST(WindowModes, StorePositionUsesTheCurrentModesKeys) {
    MemorySettings settings;
    ModeRules::storePosition({kCalendarHeight, true, 11, 22, false}, settings);
    ModeRules::storePosition({kMiniHeight, false, 33, 44, false}, settings);
    EXPECT_EQ(settings.readInt("Form", "left_cal", 0), 11);
    EXPECT_EQ(settings.readInt("Form", "top_cal", 0), 22);
    EXPECT_EQ(settings.readInt("Form", "left_mini", 0), 33);
    EXPECT_EQ(settings.readInt("Form", "top_mini", 0), 44);
    EXPECT_EQ(settings.readText("Form", "top", "none"), "none");
}

TEST(WindowModes, HotKeyBorrowsTheBaseLayoutUntilFocusLoss) {
    MemorySettings settings;
    const WindowState mini{kMiniHeight, false, 100, 300, false};
    WindowState state = ModeRules::expandForHotKey(mini, settings, kScreen);
    EXPECT_EQ(state.height, kBaseHeight);
    EXPECT_TRUE(state.buttonBar);
    EXPECT_TRUE(state.hotKeyExpansion);
    EXPECT_EQ(state.top, 300);
    state = ModeRules::endHotKeyExpansion(state, settings, kScreen);
    EXPECT_EQ(state, mini);
    // Calendar mode is left alone by both.
    const WindowState calendar{kCalendarHeight, true, 1, 2, false};
    EXPECT_EQ(ModeRules::expandForHotKey(calendar, settings, kScreen), calendar);
    EXPECT_EQ(ModeRules::endHotKeyExpansion(calendar, settings, kScreen), calendar);

    settings.writeBool("Form", "ModeSave", true);
    settings.writeInt("Form", "top", 40);
    settings.writeInt("Form", "left", 50);
    settings.writeInt("Form", "top_mini", 60);
    settings.writeInt("Form", "left_mini", 70);
    state = ModeRules::expandForHotKey(mini, settings, kScreen);
    EXPECT_EQ(state.top, 40);
    EXPECT_EQ(state.left, 50);
    state = ModeRules::endHotKeyExpansion(state, settings, kScreen);
    EXPECT_EQ(state.top, 60);
    EXPECT_EQ(state.left, 70);
    EXPECT_FALSE(state.buttonBar);
}

}  // namespace
}  // namespace hinagiku::mainwindow
