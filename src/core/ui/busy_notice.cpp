#include "core/ui/busy_notice.h"

#include <QApplication>
#include <QFrame>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/startup.h"

namespace hinagiku::core {
namespace {

constexpr int kWidth = 229;
constexpr int kHeight = 70;
constexpr int kCorner = 30;

QRegion roundedOutline() {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kCorner / 2.0, kCorner / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

}  // namespace

BusyNotice::BusyNotice(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      line_(new QLabel(text, this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, QToolTip::palette().color(QPalette::ToolTipText));
    setPalette(p);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(1);
    auto* title = new QLabel(QString::fromUtf8(kApplicationTitle.data()) + QLatin1Char('\n') +
                                 QString::fromUtf8(kVersionLabel.data()),
                             this);
    title->setAlignment(Qt::AlignCenter);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    line_->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(rule);
    layout->addWidget(line_);
    setMask(roundedOutline());

    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

void BusyNotice::setText(const QString& text) {
    line_->setText(text);
}

void BusyNotice::showNow() {
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace hinagiku::core
