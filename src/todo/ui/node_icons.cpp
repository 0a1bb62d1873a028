#include "todo/ui/node_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <functional>
#include <initializer_list>

namespace hinagiku::todo::ui {
namespace {

// Drawn on a 16 x 16 grid, scaled to each size.
using Drawing = std::function<void(QPainter&)>;

QPixmap render(const Drawing& draw, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

QIcon icon(const Drawing& normal, const Drawing& selected = {}) {
    QIcon result;
    for (const int size : {16, 24, 32}) {
        result.addPixmap(render(normal, size), QIcon::Normal);
        result.addPixmap(render(selected ? selected : normal, size), QIcon::Selected);
    }
    return result;
}

const QColor kFolderFill(0xF2, 0xC2, 0x4E);
const QColor kFolderFront(0xF8, 0xD7, 0x7A);
const QColor kFolderLine(0x9A, 0x6B, 0x10);
const QColor kPageLine(0x60, 0x60, 0x60);
const QColor kBinFill(0xB8, 0xC0, 0xC8);
const QColor kBinLine(0x4A, 0x52, 0x5A);

// A closed outline through the points, in order.
QPainterPath closedPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto it = points.begin() + 1; it != points.end(); ++it)
        path.lineTo(*it);
    path.closeSubpath();
    return path;
}

void folderClosed(QPainter& p) {
    p.setPen(QPen(kFolderLine, 0.8));
    p.setBrush(kFolderFill);
    p.drawPath(closedPath({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}));
    p.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
}

void folderOpen(QPainter& p) {
    p.setPen(QPen(kFolderLine, 0.8));
    p.setBrush(kFolderFill);
    p.drawPath(closedPath({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 7.5}, {1.5, 13.5}}));
    p.setBrush(kFolderFront);
    p.drawPath(closedPath({{4, 7.5}, {15.5, 7.5}, {13, 13.5}, {1.5, 13.5}}));
}

void page(QPainter& p, const QColor& fill, const QColor& lines) {
    p.setPen(QPen(kPageLine, 0.8));
    p.setBrush(fill);
    p.drawPath(closedPath({{3.5, 1.5}, {10, 1.5}, {12.5, 4}, {12.5, 14.5}, {3.5, 14.5}}));
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4));
    p.drawLine(QPointF(10, 4), QPointF(12.5, 4));
    p.setPen(QPen(lines, 1));
    for (const double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

void item(QPainter& p) {
    page(p, Qt::white, QColor(0xA0, 0xA0, 0xA0));
}

// The selected note: a tinted page with a pencil across it.
void itemSelected(QPainter& p) {
    page(p, QColor(0xFF, 0xF6, 0xD0), QColor(0x50, 0x78, 0xC8));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.6));
    p.setBrush(QColor(0xE0, 0x50, 0x40));
    p.drawPath(closedPath({{8, 13}, {14, 7}, {15.5, 8.5}, {9.5, 14.5}, {7.5, 15}}));
}

void bin(QPainter& p) {
    p.setPen(QPen(kBinLine, 0.8));
    p.setBrush(kBinFill);
    p.drawPath(closedPath({{3, 5.5}, {13, 5.5}, {12, 14.5}, {4, 14.5}}));
    for (const double x : {6.0, 8.0, 10.0})
        p.drawLine(QPointF(x, 7), QPointF(x, 13));
}

void trashEmpty(QPainter& p) {
    bin(p);
    p.setPen(QPen(kBinLine, 0.8));
    p.setBrush(kBinFill);
    p.drawRect(QRectF(2, 3.5, 12, 1.8));
    p.drawRect(QRectF(6.5, 2, 3, 1.5));
}

// Paper standing out of the bin, the lid pushed aside.
void trashFull(QPainter& p) {
    p.setPen(QPen(kPageLine, 0.6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 4, 5));
    p.setBrush(QColor(0xFF, 0xF0, 0xB0));
    p.drawRect(QRectF(7.5, 2.5, 4.5, 4));
    bin(p);
    p.save();
    p.translate(12.5, 4.5);
    p.rotate(35);
    p.setPen(QPen(kBinLine, 0.8));
    p.setBrush(kBinFill);
    p.drawRect(QRectF(0, -1.8, 6, 1.8));
    p.restore();
}

}  // namespace

const QIcon& nodeIcon(NodeIcon which) {
    static const std::array<QIcon, 5> icons = {icon(folderClosed), icon(folderOpen),
                                               icon(item, itemSelected), icon(trashEmpty),
                                               icon(trashFull)};
    return icons.at(static_cast<std::size_t>(which));
}

}  // namespace hinagiku::todo::ui
