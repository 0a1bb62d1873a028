#pragma once

#include <QString>

#include "mainwindow/ui/panel_button.h"

namespace hinagiku::mainwindow {

// A flat tool button of the main window and the pop viewer: a short caption
// drawn as its picture, the full name as its hint.
TPanelButton* makeToolButton(QWidget* parent, const QString& hint, const QString& caption,
                             const QColor& color);

}  // namespace hinagiku::mainwindow
