#include "phonebook/ui/cell_delegate.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace hinagiku::phonebook {
namespace {

bool takesSpace(QChar c) {
    switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
            return false;
        default:
            return true;
    }
}

// No character of the font is narrower than the narrowest of these.
int minAdvanceOf(const QFont& font) {
    const QFontMetricsF metrics(font);
    qreal least = metrics.horizontalAdvance(QLatin1Char(' '));
    for (const char c : {'i', 'l', 'j', '.', ',', '\'', '|', '!', ':'})
        least = std::min(least, metrics.horizontalAdvance(QLatin1Char(c)));
    return std::max(1, static_cast<int>(std::floor(least)));
}

}  // namespace

QString CellDelegate::shownPart(const QString& text, int width, int minAdvance) {
    if (width <= 0 || minAdvance <= 0 || text.size() <= width / minAdvance + 2)
        return text;
    // Past the width by two characters, so the ellipsis lands where it would
    // on the whole text.
    const int enough = width + 2 * minAdvance;
    int sure = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (sure > enough && !text[i].isLowSurrogate())
            return text.left(i);
        if (takesSpace(text[i]))
            sure += minAdvance;
    }
    return text;
}

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() < 32)
        return;
    if (minAdvance_ == 0 || option->font != font_) {
        font_ = option->font;
        minAdvance_ = minAdvanceOf(font_);
    }
    option->text = shownPart(option->text, option->rect.width(), minAdvance_);
}

}  // namespace hinagiku::phonebook
