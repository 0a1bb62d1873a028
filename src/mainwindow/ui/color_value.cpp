#include "mainwindow/ui/color_value.h"

namespace hinagiku::mainwindow {
namespace {

QColor systemColor(int index, const QPalette& p) {
    switch (index) {
        case 1:
            return p.color(QPalette::Dark);  // desktop
        case 2:
            return p.color(QPalette::Active, QPalette::Highlight);  // active caption
        case 3:
            return p.color(QPalette::Mid);  // inactive caption
        case 4:
            return p.color(QPalette::Window);  // menu
        case 5:
            return p.color(QPalette::Base);  // window
        case 6:
            return p.color(QPalette::Shadow);  // window frame
        case 7:
            return p.color(QPalette::WindowText);  // menu text
        case 8:
            return p.color(QPalette::Text);  // window text
        case 9:
            return p.color(QPalette::Active, QPalette::HighlightedText);  // caption text
        case 13:
            return p.color(QPalette::Highlight);
        case 14:
            return p.color(QPalette::HighlightedText);
        case 15:
            return p.color(QPalette::Button);
        case 16:
            return p.color(QPalette::Dark);  // button shadow
        case 17:
            return p.color(QPalette::Disabled, QPalette::Text);  // grey text
        case 18:
            return p.color(QPalette::ButtonText);
        case 19:
            return p.color(QPalette::Light);  // inactive caption text
        case 20:
            return p.color(QPalette::Light);  // button highlight
        case 21:
            return p.color(QPalette::Shadow);
        case 22:
            return p.color(QPalette::Midlight);
        case 23:
            return p.color(QPalette::ToolTipText);
        case 24:
            return p.color(QPalette::ToolTipBase);
        default:
            return p.color(QPalette::Window);
    }
}

}  // namespace

QColor colorFromValue(int value, const QPalette& palette) {
    const auto bits = static_cast<unsigned>(value);
    if (bits & 0x80000000u)
        return systemColor(static_cast<int>(bits & 0xFFu), palette);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

int valueFromColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

}  // namespace hinagiku::mainwindow
