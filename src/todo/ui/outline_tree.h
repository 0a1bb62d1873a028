#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <functional>

class QDrag;

namespace hinagiku::todo::ui {

// The outline view. Items drag from here only, and a drop counts only on a
// node's label or icon: not Qt's internal move, which drops between rows and
// takes drags from anywhere.
class OutlineTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit OutlineTree(QWidget* parent = nullptr);

    // The drag data of a node dragged from `tree` (MIME type
    // "application/x-hinagiku-todo-node").
    static QByteArray dragToken(const OutlineTree* tree);
    static QByteArray dragData(const OutlineTree* tree, std::uint64_t id);
    // The node id an item row stands for.
    static std::uint64_t nodeId(const QTreeWidgetItem* item);
    // Whether `point` (viewport coordinates) lies on the label or icon of `item`.
    bool onLabel(const QTreeWidgetItem* item, const QPoint& point) const;

    // Asked whether the node may be dragged (items only).
    std::function<bool(std::uint64_t id)> canDrag;

    // Runs a drag the outline started, until its drop (QDrag::exec). Tests
    // deliver the drag's events themselves: the offscreen platform ends
    // every drag at once.
    static std::function<Qt::DropAction(QDrag&)>& dragRunner();

    // Ends a title edit in progress, keeping what was typed.
    void commitEdit();

  signals:
    // A drag of `from` ended on `to`'s label.
    void dropped(std::uint64_t from, std::uint64_t to);
    // Any drop ended, counted or not (the "c1" cue).
    void dropEnded();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QPoint pressPoint_;
    QTreeWidgetItem* pressed_ = nullptr;
};

}  // namespace hinagiku::todo::ui
