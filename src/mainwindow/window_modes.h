#pragma once

#include <string_view>

#include "platform/settings.h"

namespace hinagiku::mainwindow {

// The main window's fixed measures.
inline constexpr int kWindowWidth = 240;
inline constexpr int kDragBarWidth = 12;
inline constexpr int kButtonBarHeight = 53;
inline constexpr int kInfoRowHeight = 16;
inline constexpr int kBaseHeight = 72;  // the moon panel's top
inline constexpr int kCalendarHeight = 190;
inline constexpr int kMiniHeight = kInfoRowHeight + 3;

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Height, layout and position of the main window. The height decides the
// mode and the settings keys of its position; the layout is separate because
// a stored odd height keeps the base layout.
struct WindowState {
    int height = kBaseHeight;
    bool buttonBar = true;  // false: mini clock layout, info row at the top
    int left = 0;
    int top = 0;
    bool hotKeyExpansion = false;  // base layout borrowed from mini clock mode
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

struct PositionKeys {
    std::string_view top;
    std::string_view left;
};
// [Form] keys of the position for a window height.
PositionKeys positionKeysFor(int height);

// Keeps a window of `width` x `height` at (left, top) on the screen: a
// negative coordinate becomes the screen's edge, then a far edge past the
// screen moves the window back to touch it (so the far-edge rule wins); a
// window larger than the screen stays at its top or left edge.
void pullOnScreen(int& left, int& top, int width, int height, const ScreenRect& screen);
void pullOnScreen(WindowState& state, const ScreenRect& screen);

// The mode rules, reading and writing [Form] in `settings`.
class ModeRules {
  public:
    // Start: [Form] Height (below 72: mini clock mode) and the position of
    // that mode (default: the top right corner), pulled on screen.
    static WindowState restore(const platform::Settings& settings, const ScreenRect& screen);

    // Drag-bar double-click: base (or mini clock with minitokei) <-> calendar.
    // With ModeSave the window goes to the new mode's stored position.
    // Writes [Form] Height.
    static WindowState cycle(const WindowState& state, platform::Settings& settings,
                             const ScreenRect& screen);

    // The position keys of the current height get the current position.
    static void storePosition(const WindowState& state, platform::Settings& settings);

    // Launcher hot key in mini clock layout: the base layout borrowed until
    // the program loses the focus. Other layouts are returned unchanged.
    static WindowState expandForHotKey(const WindowState& state, const platform::Settings& settings,
                                       const ScreenRect& screen);
    // Focus lost: a borrowed base layout goes back to mini clock mode.
    static WindowState endHotKeyExpansion(const WindowState& state,
                                          const platform::Settings& settings,
                                          const ScreenRect& screen);

    static bool modeSave(const platform::Settings& settings);
    static bool miniClockBase(const platform::Settings& settings);  // [Form] minitokei
    static bool positionFixed(const platform::Settings& settings);  // [Form] Move

  private:
    static void moveToStored(WindowState& state, const platform::Settings& settings);
};

}  // namespace hinagiku::mainwindow
