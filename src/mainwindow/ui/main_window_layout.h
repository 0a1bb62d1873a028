#pragma once

// What the main window's construction and its behaviour share: the layout
// of the 240-pixel panel and the small helpers of its fields.
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QString>

#include <string>

#include "mainwindow/window_modes.h"

namespace hinagiku::mainwindow::layout {

inline constexpr const char* kLauncherTip =
    "左クリック：ランチャーメニュー／右クリック：基本メニュー";

inline constexpr int kContentLeft = kDragBarWidth;
inline constexpr int kContentWidth = kWindowWidth - kDragBarWidth;
inline constexpr int kMonthRowHeight = 18;
inline constexpr int kMoonPanelHeight = kCalendarHeight - kBaseHeight;
inline constexpr int kMoonWithClockX = 42;
inline constexpr int kMoonAloneX = 76;

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

inline void setFieldColors(QLabel* label, const QColor& text, const QColor& background) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, background);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}

}  // namespace hinagiku::mainwindow::layout
