#include "mainwindow/ui/tool_button.h"

#include <QPainter>

namespace hinagiku::mainwindow {

TPanelButton* makeToolButton(QWidget* parent, const QString& hint, const QString& caption,
                             const QColor& color) {
    auto* button = new TPanelButton(parent);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    // The picture: the caption in the tool's colour on a clear ground.
    QPixmap glyph(20, 18);
    glyph.fill(Qt::transparent);
    {
        QPainter painter(&glyph);
        QFont font = parent != nullptr ? parent->font() : QFont();
        font.setPixelSize(caption.size() > 1 ? 9 : 13);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(glyph.rect(), Qt::AlignCenter, caption);
    }
    button->setGlyph(glyph);
    return button;
}

}  // namespace hinagiku::mainwindow
