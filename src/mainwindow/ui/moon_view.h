#pragma once

#include <QImage>
#include <QWidget>

#include "calendar/date_time.h"
#include "calendar/moon_picture.h"

namespace hinagiku::mainwindow {

// The moon picture: the full-moon bitmap of its size with the unlit part of
// the disc blackened for the instant shown.
class TMoon : public QWidget {
    Q_OBJECT

  public:
    explicit TMoon(QWidget* parent = nullptr, MoonSize size = MoonSize::ms64);

    MoonSize moonSize() const { return size_; }
    void setMoonSize(MoonSize size);
    DateTime date() const { return date_; }
    // The universal-time instant shown; recomputes the phase and redraws.
    void setDate(DateTime instant);

    const QImage& picture() const { return picture_; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void loadFullMoon();
    void shade();

    MoonSize size_;
    DateTime date_ = 0.0;
    bool dated_ = false;
    QImage fullMoon_;
    QImage picture_;
};

}  // namespace hinagiku::mainwindow
