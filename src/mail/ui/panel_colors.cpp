#include "mail/ui/panel_colors.h"

namespace hinagiku::mail {

QColor panelBackground(PanelColor color) {
    switch (color) {
        case PanelColor::Maroon:
            return {128, 0, 0};
        case PanelColor::Navy:
            return {0, 0, 128};
        case PanelColor::Green:
            return {0, 128, 0};
        case PanelColor::Grey:
            return {128, 128, 128};
        case PanelColor::Black:
            break;
    }
    return {0, 0, 0};
}

void paintPanels(std::initializer_list<QLabel*> panels, PanelColor color) {
    for (QLabel* label : panels) {
        if (label == nullptr)
            continue;
        QPalette pal = label->palette();
        pal.setColor(QPalette::Window, panelBackground(color));
        label->setPalette(pal);
        label->setAutoFillBackground(true);
    }
}

}  // namespace hinagiku::mail
