#pragma once

#include <QPointer>
#include <QRegion>
#include <QWidget>

namespace hinagiku::mainwindow {

// Gives its owner window an outline other than the rectangle: a rectangle,
// a rounded rectangle or an ellipse over the given bounds. Every change is
// applied at once; disabling or destroying it gives the window back its
// full rectangle. The owner keeps it as a member.
class TFormRgn {
  public:
    enum class Style { Rect, RoundRect, Ellipse };

    explicit TFormRgn(QWidget& owner);
    ~TFormRgn();
    TFormRgn(const TFormRgn&) = delete;
    TFormRgn& operator=(const TFormRgn&) = delete;

    int rgnLeft() const { return left_; }
    int rgnTop() const { return top_; }
    int rgnRight() const { return right_; }
    int rgnBottom() const { return bottom_; }
    int rgnWidth() const { return cornerWidth_; }
    int rgnHeight() const { return cornerHeight_; }
    Style style() const { return style_; }
    bool enabled() const { return enabled_; }

    void setRgnLeft(int v);
    void setRgnTop(int v);
    void setRgnRight(int v);
    void setRgnBottom(int v);
    // Corner ellipse of the rounded rectangle.
    void setRgnWidth(int v);
    void setRgnHeight(int v);
    void setStyle(Style style);
    void setEnabled(bool on);
    // All bounds and the corner at once (one outline change).
    void setAll(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                Style style);

    // The outline the owner gets (empty while disabled).
    QRegion region() const;

  private:
    void apply();

    QPointer<QWidget> owner_;
    int left_ = 0;
    int top_ = 0;
    int right_ = 400;
    int bottom_ = 300;
    int cornerWidth_ = 30;
    int cornerHeight_ = 30;
    Style style_ = Style::RoundRect;
    bool enabled_ = true;
};

}  // namespace hinagiku::mainwindow
