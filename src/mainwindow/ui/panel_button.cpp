#include "mainwindow/ui/panel_button.h"

#include <qdrawutil.h>
#include <QEnterEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace hinagiku::mainwindow {

TPanelButton::TPanelButton(QWidget* parent) : QAbstractButton(parent) {
    resize(31, 31);
    setAttribute(Qt::WA_Hover);
}

void TPanelButton::setGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    update();
}

void TPanelButton::setNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    update();
}

void TPanelButton::setGlyphLayout(GlyphLayout layout) {
    layout_ = layout;
    update();
}

void TPanelButton::setMargin(int margin) {
    margin_ = margin;
    update();
}

void TPanelButton::setSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

TPanelButton::State TPanelButton::state() const {
    if (!isEnabled())
        return State::Disabled;
    if (isDown())
        return State::Down;
    if (hot_)
        return State::Hot;
    return State::Flat;
}

QPixmap TPanelButton::image(int index) const {
    if (glyph_.isNull() || index >= numGlyphs_)
        return {};
    const int w = glyph_.width() / numGlyphs_;
    return glyph_.copy(index * w, 0, w, glyph_.height());
}

QPixmap TPanelButton::glyphFor(State state) const {
    const QPixmap first = image(0);
    QPixmap chosen;
    switch (state) {
        case State::Hot:
            return first;
        case State::Disabled:
            chosen = image(1);
            if (chosen.isNull() && !first.isNull()) {
                QStyleOption option;
                option.initFrom(this);
                return style()->generatedIconPixmap(QIcon::Disabled, first, &option);
            }
            return chosen;
        case State::Down:
            chosen = image(2);
            break;
        case State::Flat:
            chosen = image(3);
            break;
    }
    return chosen.isNull() ? first : chosen;
}

void TPanelButton::enterEvent(QEnterEvent* event) {
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TPanelButton::leaveEvent(QEvent* event) {
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    const State current = state();
    if (current == State::Hot)
        qDrawShadePanel(&painter, rect(), pal, false, 1);
    if (current == State::Down)
        qDrawShadePanel(&painter, rect(), pal, true, 1);

    const QPixmap picture = glyphFor(current);
    const QString caption = text();
    const QFontMetrics metrics(font());
    const QSize textSize =
        caption.isEmpty() ? QSize() : metrics.size(Qt::TextShowMnemonic, caption);
    const bool horizontal = layout_ == GlyphLayout::Left || layout_ == GlyphLayout::Right;
    const int gap = (!picture.isNull() && !caption.isEmpty()) ? spacing_ : 0;
    const QSize glyphSize = picture.isNull() ? QSize() : picture.deviceIndependentSize().toSize();
    const int total = horizontal ? glyphSize.width() + gap + textSize.width()
                                 : glyphSize.height() + gap + textSize.height();
    const int extent = horizontal ? width() : height();
    int start = margin_ < 0 ? (extent - total) / 2 : margin_;
    if (margin_ >= 0 && (layout_ == GlyphLayout::Right || layout_ == GlyphLayout::Bottom)) {
        start = extent - margin_ - total;
    }

    QRect glyphRect;
    QRect textRect;
    if (horizontal) {
        const bool glyphFirst = layout_ == GlyphLayout::Left;
        const int gx = glyphFirst ? start : start + textSize.width() + gap;
        const int tx = glyphFirst ? start + glyphSize.width() + gap : start;
        glyphRect = QRect(QPoint(gx, (height() - glyphSize.height()) / 2), glyphSize);
        textRect = QRect(QPoint(tx, (height() - textSize.height()) / 2), textSize);
    } else {
        const bool glyphFirst = layout_ == GlyphLayout::Top;
        const int gy = glyphFirst ? start : start + textSize.height() + gap;
        const int ty = glyphFirst ? start + glyphSize.height() + gap : start;
        glyphRect = QRect(QPoint((width() - glyphSize.width()) / 2, gy), glyphSize);
        textRect = QRect(QPoint((width() - textSize.width()) / 2, ty), textSize);
    }
    if (current == State::Down) {
        glyphRect.translate(1, 1);
        textRect.translate(1, 1);
    }
    if (!picture.isNull())
        painter.drawPixmap(glyphRect.topLeft(), picture);
    if (!caption.isEmpty()) {
        style()->drawItemText(&painter, textRect, Qt::AlignCenter | Qt::TextShowMnemonic, pal,
                              isEnabled(), caption, QPalette::ButtonText);
    }
}

}  // namespace hinagiku::mainwindow
