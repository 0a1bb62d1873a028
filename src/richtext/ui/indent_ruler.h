#pragma once

#include <QWidget>

#include "richtext/ui/ruler_geometry.h"

class QTextEdit;

namespace hinagiku::richtext::ui {

// The strip above a rich-text editor with tick marks and three markers:
// first-line indent, left indent of the following lines and right indent of
// the selection's paragraphs. A marker dragged and released sets the
// indents; a click without a move changes nothing.
class IndentRuler : public QWidget {
    Q_OBJECT

  public:
    enum class Marker { None, First, Left, Right };

    explicit IndentRuler(QTextEdit* editor, QWidget* parent = nullptr);

    // Places the markers from the paragraph at the editor's cursor.
    void refresh();
    const MarkerPositions& markers() const { return markers_; }
    Indents indents() const { return indents_; }

    // Drag of a marker to a new left edge, as the mouse does it.
    void dragMarker(Marker marker, int newLeft);

    QSize sizeHint() const override;

  signals:
    // The indents of the selection's paragraphs were changed.
    void indentsApplied();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    Marker markerAt(int x) const;
    void release();

    QTextEdit* editor_;
    Indents indents_;
    MarkerPositions markers_;
    Marker dragging_ = Marker::None;
    bool moved_ = false;
};

}  // namespace hinagiku::richtext::ui
