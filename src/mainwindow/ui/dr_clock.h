#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

#include "mainwindow/clock_geometry.h"
#include "platform/clock.h"

namespace hinagiku::mainwindow {

// The analog clock: a face with scale marks or dots, optional numerals and
// three hands, redrawn when the displayed second changes. The clock runs
// while the widget is enabled.
class TDRClock : public QWidget {
    Q_OBJECT

  public:
    enum class Border { None = 0, Single = 1, Raised = 2, Lowered = 3 };

    // `clock` supplies the time and must outlive the control; without one
    // the system clock is used.
    explicit TDRClock(QWidget* parent = nullptr, const platform::Clock* clock = nullptr);

    Border border() const { return border_; }
    void setBorder(Border border);
    QColor faceColor() const { return face_; }
    void setFaceColor(const QColor& color);
    QColor pointerColor() const { return pointer_; }
    void setPointerColor(const QColor& color);
    QColor secondsColor() const { return seconds_; }
    void setSecondsColor(const QColor& color);
    QColor scaleColor() const { return scale_; }
    void setScaleColor(const QColor& color);
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);
    bool displayText() const { return displayText_; }
    void setDisplayText(bool on);
    bool displayPoints() const { return displayPoints_; }
    void setDisplayPoints(bool on);

    bool isRunning() const { return timer_.isActive(); }
    // One timer step: reads the time and redraws when the second changed.
    // Returns true when it redrew.
    bool tick();

    struct HandTime {
        int hour = -1;  // -1 until the first tick
        int minute = 0;
        int second = 0;
    };
    HandTime drawnTime() const { return drawn_; }
    ClockGeometry geometry() const;

    QSize sizeHint() const override { return {200, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void updateTimer();

    const platform::Clock* clock_;
    QTimer timer_;
    HandTime drawn_;
    Border border_ = Border::Lowered;
    QColor face_{0, 0, 0x80};
    QColor pointer_{0xFF, 0xFF, 0};
    QColor seconds_{0xFF, 0, 0};
    QColor scale_{Qt::white};
    QColor fontColor_{Qt::white};
    bool displayText_ = true;
    bool displayPoints_ = false;
};

}  // namespace hinagiku::mainwindow
