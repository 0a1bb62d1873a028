#pragma once

#include <QImage>
#include <QWidget>

#include "calendar/date_time.h"

namespace hinagiku::birthday {

// Draws the biorhythm chart of one month into `image` (its size is W x H):
// the day lines, the centre line and the three cycles. `today` marks its day
// in red when the shown month is today's month.
void drawBiorhythm(QImage& image, const CivilDate& birth, int year, int month,
                   const CivilDate& today);

// The chart in the register: paints what drawBiorhythm draws.
class BiorhythmChart : public QWidget {
    Q_OBJECT
  public:
    explicit BiorhythmChart(QWidget* parent = nullptr);

    void show(const CivilDate& birth, int year, int month, const CivilDate& today);
    QImage image() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CivilDate birth_{2000, 1, 1};
    int year_ = 2000;
    int month_ = 1;
    CivilDate today_{2000, 1, 1};
};

}  // namespace hinagiku::birthday
