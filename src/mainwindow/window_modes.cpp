#include "mainwindow/window_modes.h"

namespace hinagiku::mainwindow {
namespace {
constexpr std::string_view kForm = "Form";
}

PositionKeys positionKeysFor(int height) {
    if (height == kBaseHeight)
        return {"top", "left"};
    if (height == kCalendarHeight)
        return {"top_cal", "left_cal"};
    return {"top_mini", "left_mini"};
}

void pullOnScreen(int& left, int& top, int width, int height, const ScreenRect& screen) {
    if (top < screen.top)
        top = screen.top;
    if (left < screen.left)
        left = screen.left;
    if (top + height > screen.top + screen.height)
        top = screen.top + screen.height - height;
    if (left + width > screen.left + screen.width)
        left = screen.left + screen.width - width;
    // A screen smaller than the window leaves it at the top or left edge.
    if (top < screen.top)
        top = screen.top;
    if (left < screen.left)
        left = screen.left;
}

void pullOnScreen(WindowState& state, const ScreenRect& screen) {
    pullOnScreen(state.left, state.top, kWindowWidth, state.height, screen);
}

bool ModeRules::modeSave(const platform::Settings& settings) {
    return settings.readBool(kForm, "ModeSave", false);
}
bool ModeRules::miniClockBase(const platform::Settings& settings) {
    return settings.readBool(kForm, "minitokei", false);
}
bool ModeRules::positionFixed(const platform::Settings& settings) {
    return settings.readBool(kForm, "Move", false);
}

WindowState ModeRules::restore(const platform::Settings& settings, const ScreenRect& screen) {
    WindowState state;
    const int stored = settings.readInt(kForm, "Height", kBaseHeight);
    if (stored < kBaseHeight) {
        state.height = kMiniHeight;
        state.buttonBar = false;
    } else {
        state.height = stored;
    }
    const PositionKeys keys = positionKeysFor(state.height);
    state.top = settings.readInt(kForm, keys.top, screen.top);
    state.left = settings.readInt(kForm, keys.left, screen.left + screen.width - kWindowWidth);
    pullOnScreen(state, screen);
    return state;
}

void ModeRules::moveToStored(WindowState& state, const platform::Settings& settings) {
    const PositionKeys keys = positionKeysFor(state.height);
    state.top = settings.readInt(kForm, keys.top, state.top);
    state.left = settings.readInt(kForm, keys.left, state.left);
}

WindowState ModeRules::cycle(const WindowState& current, platform::Settings& settings,
                             const ScreenRect& screen) {
    WindowState state = current;
    state.hotKeyExpansion = false;
    if (state.height != kCalendarHeight) {
        state.buttonBar = true;
        state.height = kCalendarHeight;
    } else if (miniClockBase(settings)) {
        state.buttonBar = false;
        state.height = kMiniHeight;
    } else {
        state.buttonBar = true;
        state.height = kBaseHeight;
    }
    if (modeSave(settings))
        moveToStored(state, settings);
    pullOnScreen(state, screen);
    settings.writeInt(kForm, "Height", state.height);
    return state;
}

void ModeRules::storePosition(const WindowState& state, platform::Settings& settings) {
    const PositionKeys keys = positionKeysFor(state.height);
    settings.writeInt(kForm, keys.top, state.top);
    settings.writeInt(kForm, keys.left, state.left);
}

WindowState ModeRules::expandForHotKey(const WindowState& current,
                                       const platform::Settings& settings,
                                       const ScreenRect& screen) {
    if (current.buttonBar)
        return current;
    WindowState state = current;
    if (modeSave(settings)) {
        state.top = settings.readInt(kForm, "top", state.top);
        state.left = settings.readInt(kForm, "left", state.left);
    }
    state.buttonBar = true;
    state.height = kBaseHeight;
    state.hotKeyExpansion = true;
    pullOnScreen(state, screen);
    return state;
}

WindowState ModeRules::endHotKeyExpansion(const WindowState& current,
                                          const platform::Settings& settings,
                                          const ScreenRect& screen) {
    if (!current.hotKeyExpansion)
        return current;
    WindowState state = current;
    state.buttonBar = false;
    state.height = kMiniHeight;
    state.hotKeyExpansion = false;
    if (modeSave(settings))
        moveToStored(state, settings);
    pullOnScreen(state, screen);
    return state;
}

}  // namespace hinagiku::mainwindow
