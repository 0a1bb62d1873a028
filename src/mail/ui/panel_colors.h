#pragma once

#include <QColor>
#include <QLabel>

#include <initializer_list>

#include "mail/mail_check.h"

namespace hinagiku::mail {

// The background of a mail-check colour: maroon, navy, green for accounts
// 1 to 3, grey for a check refused, black otherwise.
QColor panelBackground(PanelColor color);
// Sets that background on the main window's panels, keeping their text colours.
void paintPanels(std::initializer_list<QLabel*> panels, PanelColor color);

}  // namespace hinagiku::mail
