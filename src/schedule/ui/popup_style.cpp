#include "schedule/ui/popup_style.h"

#include <QStringList>

namespace hinagiku::schedule {

QFont popupFixedFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QColor popupDayColour(int dayOfWeek) {
    if (dayOfWeek == 1)
        return QColor(255, 0, 0);
    if (dayOfWeek == 7)
        return QColor(255, 0, 255);
    return QColor(0, 0, 255);
}

}  // namespace hinagiku::schedule
