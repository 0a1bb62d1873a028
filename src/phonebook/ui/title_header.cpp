#include "phonebook/ui/title_header.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <numeric>

namespace hinagiku::phonebook {

TitleHeader::TitleHeader(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (int c = 0; c < kCells; ++c)
        titles_ << QString();
}

void TitleHeader::setTitles(const QStringList& titles) {
    titles_ = titles;
    update();
}

void TitleHeader::setWidths(const Widths& widths) {
    widths_ = widths;
    update();
    emit resized();
}

void TitleHeader::setIndent(int indent) {
    indent_ = std::max(indent, 0);
    update();
    emit resized();
}

int TitleHeader::splitterX(int splitter) const {
    int x = indent_;
    for (int c = 0; c <= splitter; ++c)
        x += widths_[c] + (c < splitter ? kSplitter : 0);
    return x;
}

int TitleHeader::cellWidth(int cell) const {
    if (cell < kResizable)
        return widths_[cell];
    const int used = std::accumulate(widths_.begin(), widths_.end(), 0) + kResizable * kSplitter;
    return std::max(width() - indent_ - used, 0);
}

QRect TitleHeader::cellRect(int cell) const {
    const int left = cell == 0 ? indent_ : splitterX(cell - 1) + kSplitter;
    return {left, 0, cellWidth(cell), height()};
}

int TitleHeader::splitterAt(int x) const {
    for (int s = 0; s < kResizable; ++s) {
        const int left = splitterX(s);
        // One pixel of slack on each side: 2 pixels are hard to hit.
        if (x >= left - 1 && x < left + kSplitter + 1)
            return s;
    }
    return -1;
}

void TitleHeader::releaseSplitter(int splitter, int x) {
    if (splitter < 0 || splitter >= kResizable)
        return;
    const int left = cellRect(splitter).left();
    widths_[splitter] = std::max(x - left, kMinCell);
    update();
    emit widthsChanged();
    emit resized();
}

QSize TitleHeader::sizeHint() const {
    QStyleOptionHeader option;
    option.initFrom(this);
    option.text = QStringLiteral("Ag");
    const QSize cell = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    return {indent_ + splitterX(kResizable - 1) + kSplitter + 100,
            std::max(cell.height(), fontMetrics().height() + 6)};
}

QSize TitleHeader::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void TitleHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    auto drawSection = [&](const QRect& r, const QString& text) {
        if (r.width() <= 0)
            return;
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = r;
        option.text = text;
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        painter.save();
        painter.setClipRect(r);
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        painter.restore();
    };
    if (indent_ > 0)
        drawSection(QRect(0, 0, indent_, height()), QString());
    for (int c = 0; c < kCells; ++c)
        drawSection(cellRect(c), title(c));
    // The splitters: a raised 2-pixel bar between the cells.
    for (int s = 0; s < kResizable; ++s) {
        const int x = splitterX(s);
        painter.fillRect(QRect(x, 0, 1, height()), palette().color(QPalette::Light));
        painter.fillRect(QRect(x + 1, 0, 1, height()), palette().color(QPalette::Dark));
    }
}

void TitleHeader::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton && splitterAt(x) >= 0) {
        dragging_ = splitterAt(x);
        grabOffset_ = x - splitterX(dragging_);  // a click without a move changes nothing
        showTrackingLine(x - grabOffset_);
        return;
    }
    QWidget::mousePressEvent(event);
}

void TitleHeader::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (dragging_ >= 0) {
        showTrackingLine(std::max(x - grabOffset_, cellRect(dragging_).left() + kMinCell));
        return;
    }
    setCursor(splitterAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TitleHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ < 0 || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int splitter = dragging_;
    dragging_ = -1;
    if (tracking_)
        tracking_->hide();
    releaseSplitter(splitter, event->position().toPoint().x() - grabOffset_);
}

void TitleHeader::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void TitleHeader::showTrackingLine(int x) {
    // The line runs from the header down over whatever lies below it.
    QWidget* area = parentWidget() ? parentWidget() : this;
    if (!tracking_)
        tracking_ = new QRubberBand(QRubberBand::Line, area);
    const QPoint top = mapTo(area, QPoint(x, 0));
    tracking_->setGeometry(top.x(), top.y(), 2, std::max(area->height() - top.y(), height()));
    tracking_->show();
    tracking_->raise();
}

}  // namespace hinagiku::phonebook
