#pragma once

#include <QStringList>
#include <QWidget>

#include <array>

class QRubberBand;

namespace hinagiku::phonebook {

// The column titles over the grid: six title cells, the first five with a
// 2-pixel splitter on their right, the sixth taking the rest of the width.
// Dragging a splitter shows a tracking line; on release the cell to its left
// takes the new width and widthsChanged() is emitted.
class TitleHeader : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kCells = 6;
    static constexpr int kResizable = 5;
    static constexpr int kSplitter = 2;
    static constexpr int kMinCell = 8;
    using Widths = std::array<int, kResizable>;

    explicit TitleHeader(QWidget* parent = nullptr);

    void setTitles(const QStringList& titles);
    QString title(int cell) const { return cell < titles_.size() ? titles_[cell] : QString(); }
    // Sets the five widths without emitting widthsChanged().
    void setWidths(const Widths& widths);
    const Widths& widths() const { return widths_; }
    // Space kept free on the left (over the grid's row handles).
    void setIndent(int indent);
    int indent() const { return indent_; }

    // Width of title cell `cell`; cell 5 is what the first five and their
    // splitters leave over (never below 0).
    int cellWidth(int cell) const;
    QRect cellRect(int cell) const;
    // The splitter under x, or -1.
    int splitterAt(int x) const;
    // What releasing splitter `splitter` at x does.
    void releaseSplitter(int splitter, int x);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The user gave a title cell a new width.
    void widthsChanged();
    // The widget's width changed, and with it the sixth cell's.
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int splitterX(int splitter) const;  // left edge of splitter `splitter`
    void showTrackingLine(int x);

    QStringList titles_;
    Widths widths_{100, 100, 100, 100, 169};
    int indent_ = 0;
    int dragging_ = -1;
    int grabOffset_ = 0;
    QRubberBand* tracking_ = nullptr;
};

}  // namespace hinagiku::phonebook
