#include "phonebook/ui/dial_glyph.h"

#include <QPainter>
#include <QPainterPath>

namespace hinagiku::phonebook {
namespace {

// The telephone on a 16 by 16 grid: the handset resting on its cradle over
// a body with a round dial.
void drawTelephone(QPainter& p, const QColor& ink, const QColor& dialFace) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // Handset: ear and mouth pieces joined by an arched grip.
    QPainterPath handset;
    handset.moveTo(0.5, 5.5);
    handset.cubicTo(0.5, 2.0, 4.0, 1.0, 8.0, 1.0);
    handset.cubicTo(12.0, 1.0, 15.5, 2.0, 15.5, 5.5);
    handset.lineTo(11.5, 5.5);
    handset.lineTo(11.0, 4.0);
    handset.cubicTo(9.5, 3.6, 6.5, 3.6, 5.0, 4.0);
    handset.lineTo(4.5, 5.5);
    handset.closeSubpath();
    p.drawPath(handset);
    // Body: a trapezoid with rounded feet.
    QPainterPath body;
    body.moveTo(4.5, 6.5);
    body.lineTo(11.5, 6.5);
    body.lineTo(15.0, 13.0);
    body.quadTo(15.0, 15.0, 13.0, 15.0);
    body.lineTo(3.0, 15.0);
    body.quadTo(1.0, 15.0, 1.0, 13.0);
    body.closeSubpath();
    p.drawPath(body);
    // The dial: a light ring with a dark hub.
    p.setBrush(dialFace);
    p.drawEllipse(QPointF(8.0, 10.8), 3.0, 3.0);
    p.setBrush(ink);
    p.drawEllipse(QPointF(8.0, 10.8), 1.2, 1.2);
}

}  // namespace

QPixmap dialGlyphPixmap(int size, bool enabled) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (enabled) {
        drawTelephone(p, QColor(0x20, 0x20, 0x20), QColor(0xf0, 0xf0, 0xf0));
    } else {
        // The classic disabled look: a white emboss under a grey shape.
        p.save();
        p.translate(1.0, 1.0);
        drawTelephone(p, Qt::white, Qt::white);
        p.restore();
        drawTelephone(p, QColor(0x80, 0x80, 0x80), QColor(0xc8, 0xc8, 0xc8));
    }
    return pixmap;
}

QIcon dialGlyph() {
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(dialGlyphPixmap(size, true), QIcon::Normal);
        icon.addPixmap(dialGlyphPixmap(size, false), QIcon::Disabled);
    }
    return icon;
}

}  // namespace hinagiku::phonebook
