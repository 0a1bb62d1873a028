#pragma once

#include <QColor>
#include <QPalette>

namespace hinagiku::mainwindow {

// The stored colour number: red in the lowest byte, then green and blue;
// with the top bit set it names a system colour by its index in the low
// byte, taken here from the palette.
QColor colorFromValue(int value, const QPalette& palette);
int valueFromColor(const QColor& color);

// System colour numbers the program stores.
inline constexpr int kSysActiveCaption = static_cast<int>(0x80000002u);
inline constexpr int kSysInactiveCaption = static_cast<int>(0x80000003u);
inline constexpr int kSysMenu = static_cast<int>(0x80000004u);
inline constexpr int kSysWindow = static_cast<int>(0x80000005u);
inline constexpr int kSysWindowText = static_cast<int>(0x80000008u);
inline constexpr int kSysButtonShadow = static_cast<int>(0x80000010u);

}  // namespace hinagiku::mainwindow
