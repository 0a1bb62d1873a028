#include "todo/ui/outline_tree.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <optional>

namespace hinagiku::todo::ui {
namespace {

constexpr const char* kMimeType = "application/x-hinagiku-todo-node";

// The dragged node when the drag started in `tree`, else nothing: the data
// carries the tree's address, so drags from elsewhere never count.
std::optional<std::uint64_t> draggedNode(const QMimeData* mime, const OutlineTree* tree) {
    if (!mime || !mime->hasFormat(kMimeType))
        return std::nullopt;
    const QList<QByteArray> parts = mime->data(kMimeType).split(':');
    if (parts.size() != 2 || parts[0] != OutlineTree::dragToken(tree))
        return std::nullopt;
    bool ok = false;
    const auto id = parts[1].toULongLong(&ok);
    return ok ? std::optional<std::uint64_t>(id) : std::nullopt;
}

}  // namespace

OutlineTree::OutlineTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

QByteArray OutlineTree::dragToken(const OutlineTree* tree) {
    return QByteArray::number(static_cast<qulonglong>(reinterpret_cast<quintptr>(tree)), 16);
}

QByteArray OutlineTree::dragData(const OutlineTree* tree, std::uint64_t id) {
    return dragToken(tree) + ':' + QByteArray::number(static_cast<qulonglong>(id));
}

std::function<Qt::DropAction(QDrag&)>& OutlineTree::dragRunner() {
    static std::function<Qt::DropAction(QDrag&)> run = [](QDrag& drag) {
        return drag.exec(Qt::MoveAction);
    };
    return run;
}

void OutlineTree::commitEdit() {
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

std::uint64_t OutlineTree::nodeId(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toULongLong() : 0;
}

bool OutlineTree::onLabel(const QTreeWidgetItem* item, const QPoint& point) const {
    if (!item)
        return false;
    const QRect row = visualItemRect(item);
    if (!row.contains(point))
        return false;
    const int icon = iconSize().width() > 0 ? iconSize().width() : 16;
    const int text = fontMetrics().horizontalAdvance(item->text(0));
    return point.x() <= row.left() + icon + text + 12;
}

void OutlineTree::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    pressed_ = nullptr;
    if (event->button() == Qt::LeftButton) {
        pressPoint_ = event->position().toPoint();
        pressed_ = itemAt(pressPoint_);
    }
}

void OutlineTree::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !pressed_ ||
        (event->position().toPoint() - pressPoint_).manhattanLength() <
            QApplication::startDragDistance()) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    const std::uint64_t id = nodeId(pressed_);
    pressed_ = nullptr;
    if (!canDrag || !canDrag(id))
        return;
    auto* mime = new QMimeData;
    mime->setData(kMimeType, dragData(this, id));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    dragRunner()(*drag);
}

void OutlineTree::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedNode(event->mimeData(), this))
        event->acceptProposedAction();
    else
        event->ignore();
}

void OutlineTree::dragMoveEvent(QDragMoveEvent* event) {
    if (!draggedNode(event->mimeData(), this)) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    if (onLabel(itemAt(point), point))
        event->acceptProposedAction();
    else
        event->ignore();
}

void OutlineTree::dropEvent(QDropEvent* event) {
    const auto from = draggedNode(event->mimeData(), this);
    if (!from) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::IgnoreAction);  // the board moves the rows itself
    event->accept();
    emit dropEnded();
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* target = itemAt(point);
    if (!onLabel(target, point))
        return;
    emit dropped(*from, nodeId(target));
}

}  // namespace hinagiku::todo::ui
