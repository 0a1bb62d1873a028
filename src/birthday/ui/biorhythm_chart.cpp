#include "birthday/ui/biorhythm_chart.h"

#include <QPainter>
#include <QPen>

#include "birthday/biorhythm.h"

namespace hinagiku::birthday {
namespace {

const QColor kSilver(192, 192, 192);

void drawCycle(QPainter& painter, const std::array<BiorhythmPoint, kBiorhythmPoints>& points,
               const QColor& color) {
    painter.setPen(QPen(color, 2));
    for (int i = 1; i < kBiorhythmPoints; ++i)
        painter.drawLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
}

}  // namespace

void drawBiorhythm(QImage& image, const CivilDate& birth, int year, int month,
                   const CivilDate& today) {
    const int w = image.width();
    const int h = image.height();
    image.fill(Qt::white);
    QPainter painter(&image);
    const int column = w / 30;
    painter.setPen(QPen(kSilver, 1, Qt::DotLine));
    painter.drawLine(0, 0, 0, h);
    const bool thisMonth = today.year == year && today.month == month;
    for (int i = 1; i <= 31; ++i) {
        QPen pen(kSilver, 1, Qt::DotLine);
        if (thisMonth && i == today.day)
            pen = QPen(Qt::red, 1, Qt::SolidLine);
        else if (i == 1 || i == 10 || i == 20 || i == 30)
            pen = QPen(Qt::black, 1, Qt::SolidLine);
        else if (i == 5 || i == 15 || i == 25)
            pen = QPen(Qt::black, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawLine(i * column, 0, i * column, h);
    }
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(0, h / 2, w, h / 2);
    const Biorhythm chart = biorhythmFor(birth, year, month, w, h);
    drawCycle(painter, chart.physical, Qt::red);
    drawCycle(painter, chart.emotional, Qt::blue);
    drawCycle(painter, chart.intellectual, QColor(0, 128, 0));
}

BiorhythmChart::BiorhythmChart(QWidget* parent) : QWidget(parent) {
    setToolTip(QStringLiteral("赤：身体  青：感情  緑：知性"));
}

void BiorhythmChart::show(const CivilDate& birth, int year, int month, const CivilDate& today) {
    birth_ = birth;
    year_ = year;
    month_ = month;
    today_ = today;
    update();
}

QImage BiorhythmChart::image() const {
    QImage image(size(), QImage::Format_RGB32);
    drawBiorhythm(image, birth_, year_, month_, today_);
    return image;
}

void BiorhythmChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, image());
}

}  // namespace hinagiku::birthday
