#include "richtext/ui/indent_ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace hinagiku::richtext::ui {

IndentRuler::IndentRuler(QTextEdit* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setFixedHeight(18);
    setToolTip(QStringLiteral("インデント"));
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &IndentRuler::refresh);
    refresh();
}

QSize IndentRuler::sizeHint() const {
    return {200, 18};
}

void IndentRuler::refresh() {
    if (dragging_ != Marker::None)
        return;
    const QTextBlockFormat format = editor_->textCursor().blockFormat();
    indents_ = indentsFromMargins({format.leftMargin(), format.textIndent(), format.rightMargin()});
    markers_ = markerPositions(indents_, width());
    update();
}

void IndentRuler::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

IndentRuler::Marker IndentRuler::markerAt(int x) const {
    const auto inside = [x](int left) { return x >= left && x < left + kMarkerWidth; };
    if (inside(markers_.first))
        return Marker::First;
    if (inside(markers_.left))
        return Marker::Left;
    if (inside(markers_.right))
        return Marker::Right;
    return Marker::None;
}

void IndentRuler::mousePressEvent(QMouseEvent* event) {
    dragging_ = markerAt(event->position().toPoint().x());
    moved_ = false;
}

void IndentRuler::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ == Marker::None)
        return;
    const int left = event->position().toPoint().x() - kGrabOffset;
    int& target = dragging_ == Marker::First  ? markers_.first
                  : dragging_ == Marker::Left ? markers_.left
                                              : markers_.right;
    if (left != target) {
        target = left;
        moved_ = true;
        update();
    }
}

void IndentRuler::mouseReleaseEvent(QMouseEvent*) {
    release();
}

void IndentRuler::dragMarker(Marker marker, int newLeft) {
    dragging_ = marker;
    moved_ = false;
    int& target = marker == Marker::First  ? markers_.first
                  : marker == Marker::Left ? markers_.left
                                           : markers_.right;
    if (newLeft != target) {
        target = newLeft;
        moved_ = true;
    }
    release();
}

void IndentRuler::release() {
    const bool moved = moved_;
    dragging_ = Marker::None;
    moved_ = false;
    if (!moved) {
        // A click without a move: markers back where they were, nothing set.
        markers_ = markerPositions(indents_, width());
        update();
        return;
    }
    indents_ = indentsFromMarkers(markers_, width());
    const BlockMargins margins = marginsFromIndents(indents_);
    QTextBlockFormat format;
    format.setLeftMargin(margins.leftMargin);
    format.setTextIndent(margins.textIndent);
    format.setRightMargin(margins.rightMargin);
    editor_->textCursor().mergeBlockFormat(format);
    markers_ = markerPositions(indents_, width());
    update();
    emit indentsApplied();
}

void IndentRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    // A tick every 10 points, a longer one every 50.
    for (int points = 0;; points += 10) {
        const int x = static_cast<int>(points * 4.0 / 3.0) + 6;
        if (x >= width())
            break;
        const int length = points % 50 == 0 ? 6 : 3;
        painter.drawLine(x, height() - length, x, height() - 1);
    }
    const auto drawMarker = [&](int left, bool down, const QColor& color) {
        QPolygon shape;
        if (down) {
            shape << QPoint(left, 0) << QPoint(left + kMarkerWidth - 1, 0)
                  << QPoint(left + kMarkerWidth / 2, 7);
        } else {
            shape << QPoint(left, height() - 1) << QPoint(left + kMarkerWidth - 1, height() - 1)
                  << QPoint(left + kMarkerWidth / 2, height() - 8);
        }
        painter.setBrush(color);
        painter.setPen(Qt::black);
        painter.drawPolygon(shape);
    };
    drawMarker(markers_.first, true, QColor(0x40, 0x80, 0xC0));
    drawMarker(markers_.left, false, QColor(0x40, 0x80, 0xC0));
    drawMarker(markers_.right, false, QColor(0xC0, 0x60, 0x40));
}

}  // namespace hinagiku::richtext::ui
