#include "schedule/agenda/ui/jump_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/sound_cues.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/agenda/ui/window_placement.h"
#include "schedule/ui/popup_editor.h"
#include "schedule/ui/popup_editor_model.h"

namespace hinagiku::schedule {
namespace {

QSpinBox* spinBox(QWidget* parent, const char* name, int min, int max) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

JumpWindow::JumpWindow(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      host_(std::move(host)) {
    setObjectName(QStringLiteral("JumpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    year_ = spinBox(this, "year", 1, 9999);
    month_ = spinBox(this, "month", 1, 12);
    day_ = spinBox(this, "day", 1, 31);
    weekday_ = new QLabel(this);
    weekday_->setObjectName(QStringLiteral("weekday"));
    row->addWidget(year_);
    row->addWidget(new QLabel(QStringLiteral("年"), this));
    row->addWidget(month_);
    row->addWidget(new QLabel(QStringLiteral("月"), this));
    row->addWidget(day_);
    row->addWidget(new QLabel(QStringLiteral("日"), this));
    row->addWidget(weekday_);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    todayButton_ = new QPushButton(QStringLiteral("今日に戻す｡"), this);
    todayButton_->setObjectName(QStringLiteral("today"));
    setButton_ = new QPushButton(QStringLiteral("指定日にセット"), this);
    setButton_->setObjectName(QStringLiteral("set"));
    buttons->addWidget(todayButton_);
    buttons->addWidget(setButton_);
    layout->addLayout(buttons);

    for (QSpinBox* box : {year_, month_, day_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            if (updating_ == 0)
                fieldsChanged();
        });
    }
    connect(todayButton_, &QPushButton::clicked, this, &JumpWindow::backToToday);
    connect(setButton_, &QPushButton::clicked, this, &JumpWindow::setAndClose);

    date_ = host_.calendarDate ? host_.calendarDate() : decodeDate(clock_.now());
    setFields(date_.year, date_.month, date_.day);
    placeBeforeShowing(this,
                       {settings_.readInt("Jump", "left", 0), settings_.readInt("Jump", "top", 0)});
}

void JumpWindow::setFields(long long year, long long month, long long day) {
    date_ = correctedGridDate(year, month, day);
    refresh();
}

void JumpWindow::fieldsChanged() {
    setFields(year_->value(), month_->value(), day_->value());
}

void JumpWindow::refresh() {
    ++updating_;
    year_->setValue(date_.year);
    month_->setValue(date_.month);
    day_->setValue(date_.day);
    --updating_;
    const CivilDate today = decodeDate(clock_.now());
    weekday_->setText(QString::fromStdString(jumpWeekdayLabel(date_)));
    todayButton_->setEnabled(!(date_ == today));
    setWindowTitle(QString::fromStdString(jumpCaption(date_, today)));
}

QString JumpWindow::weekdayText() const {
    return weekday_->text();
}

bool JumpWindow::todayEnabled() const {
    return todayButton_->isEnabled();
}

void JumpWindow::backToToday() {
    const CivilDate today = decodeDate(clock_.now());
    setFields(today.year, today.month, today.day);
}

void JumpWindow::setAndClose() {
    if (host_.setCalendarDate)
        host_.setCalendarDate(date_);
    close();
}

void JumpWindow::openPopupEditorHere() {
    openPopupEditor(settings_, clock_,
                    static_cast<DateTime>(
                        dayNumberOf(validDate(correctedDate(date_.year, date_.month, date_.day)))));
}

void JumpWindow::openToDoEditorHere() {
    openToDoEditor(settings_, clock_, host_, correctedDate(date_.year, date_.month, date_.day));
}

void JumpWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("日付を本日にセット"), this, &JumpWindow::backToToday)
        ->setEnabled(todayButton_->isEnabled());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Popupの登録"), this, &JumpWindow::openPopupEditorHere);
    menu.addAction(QStringLiteral("To_doの登録"), this, &JumpWindow::openToDoEditorHere);
    QAction* diary = menu.addAction(QStringLiteral("日記を綴る"), this, [this] {
        if (host_.openDiary)
            host_.openDiary(date_);
    });
    diary->setEnabled(static_cast<bool>(host_.openDiary));
    menu.addSeparator();
    menu.addAction(QStringLiteral("日付をセットして終了"), this, &JumpWindow::setAndClose);
    QMenu* closeMenu = menu.addMenu(QStringLiteral("閉じる"));
    closeMenu->addAction(QStringLiteral("取り止め"), this, &QWidget::close);
    menu.exec(event->globalPos());
}

void JumpWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    move(placedOnScreen({settings_.readInt("Jump", "left", 0), settings_.readInt("Jump", "top", 0)},
                        frameGeometry().size()));
    core::PlaySoundCue(settings_, "ope");
}

void JumpWindow::closeEvent(QCloseEvent* event) {
    settings_.writeInt("Jump", "top", pos().y());
    settings_.writeInt("Jump", "left", pos().x());
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

}  // namespace hinagiku::schedule
