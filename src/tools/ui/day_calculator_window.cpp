#include "tools/ui/day_calculator_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendar/date_time.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/window_place.h"

namespace hinagiku::tools {
namespace {

QPointer<DayCalculatorWindow>& instance() {
    static QPointer<DayCalculatorWindow> window;
    return window;
}

QSpinBox* spin(QWidget* parent, int low, int high, int digits) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setMinimumWidth(24 + digits * 10);
    return box;
}

QToolButton* toggle(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

DayCalculatorWindow::DayCalculatorWindow(platform::Settings& settings, const platform::Clock& clock,
                                         QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock) {
    setWindowTitle(QStringLiteral("日数計算"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);

    auto* modes = new QHBoxLayout;
    periodButton_ = toggle(this, QStringLiteral("～"), "period");
    countButton_ = toggle(this, QStringLiteral("＋"), "count");
    auto* modeGroup = new QButtonGroup(this);
    modeGroup->addButton(periodButton_);
    modeGroup->addButton(countButton_);
    periodButton_->setChecked(true);
    modes->addWidget(periodButton_);
    modes->addWidget(countButton_);
    modes->addStretch();
    layout->addLayout(modes);

    layout->addWidget(buildRow(0));
    rowBStack_ = new QStackedWidget(this);
    rowBStack_->addWidget(buildRow(1));
    rowBStack_->addWidget(buildCountPanel());
    layout->addWidget(rowBStack_);

    calculate_ = new QPushButton(QStringLiteral("計算"), this);
    calculate_->setToolTip(QStringLiteral("計算結果を表示します"));
    layout->addWidget(calculate_);
    result_ = new QPlainTextEdit(this);
    result_->setReadOnly(true);
    result_->setLineWrapMode(QPlainTextEdit::NoWrap);
    result_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    result_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    result_->setContextMenuPolicy(Qt::NoContextMenu);
    result_->setMinimumHeight(120);
    layout->addWidget(result_);

    menu_ = new QMenu(this);
    QMenu* kinds = menu_->addMenu(QStringLiteral("計算の種類"));
    periodItem_ = kinds->addAction(QStringLiteral("期間の日数"));
    countItem_ = kinds->addAction(QStringLiteral("日数からその日"));
    periodItem_->setCheckable(true);
    countItem_->setCheckable(true);
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("閉じる(&C)")), &QAction::triggered, this,
            core::guard(this, &QWidget::close));
    connect(menu_, &QMenu::aboutToShow, this, core::guard([this] {
                periodItem_->setChecked(!countMode());
                countItem_->setChecked(countMode());
            }));
    connect(periodItem_, &QAction::triggered, this, core::guard([this] {
                core::PlaySoundCue(settings_, "c1");
                setCountMode(false);
            }));
    connect(countItem_, &QAction::triggered, this, core::guard([this] {
                core::PlaySoundCue(settings_, "c1");
                setCountMode(true);
            }));
    connect(periodButton_, &QToolButton::clicked, this, core::guard([this] {
                core::PlaySoundCue(settings_, "c1");
                setCountMode(false);
            }));
    connect(countButton_, &QToolButton::clicked, this, core::guard([this] {
                core::PlaySoundCue(settings_, "c1");
                setCountMode(true);
            }));
    connect(calculate_, &QPushButton::clicked, this,
            core::guard(this, &DayCalculatorWindow::calculate));
    adjustSize();
    setFixedSize(sizeHint());
}

QWidget* DayCalculatorWindow::buildRow(int row) {
    auto* panel = new QWidget(this);
    auto* grid = new QHBoxLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    Row& r = rows_[static_cast<std::size_t>(row)];
    static const char* kLabels[] = {"年", "月", "日", "時", "分", "秒"};
    static const int kLow[] = {1, 1, 1, 0, 0, 0};
    static const int kHigh[] = {9999, 12, 31, 23, 59, 59};
    for (int i = 0; i < 6; ++i) {
        QSpinBox* field = spin(panel, kLow[i], kHigh[i], i == 0 ? 4 : 2);
        field->setObjectName(QStringLiteral("row%1_%2").arg(row).arg(i));
        if (i == 0)
            field->setToolTip(QStringLiteral("西暦で入力"));
        r.fields[static_cast<std::size_t>(i)] = field;
        grid->addWidget(field);
        grid->addWidget(new QLabel(QString::fromUtf8(kLabels[i]), panel));
        if (i < 3) {
            connect(field, &QSpinBox::valueChanged, this,
                    core::guard([this, row] { validate(row); }));
        }
    }
    r.today = new QPushButton(QStringLiteral("今日の日付にｾｯﾄ"), panel);
    r.zero = new QPushButton(QStringLiteral("数値を0にｾｯﾄ"), panel);
    grid->addWidget(r.today);
    grid->addWidget(r.zero);
    connect(r.today, &QPushButton::clicked, this, core::guard([this, row] { setRowToNow(row); }));
    connect(
        r.zero, &QPushButton::clicked, this, core::guard([this, row] {
            for (int i = 3; i < 6; ++i)
                rows_[static_cast<std::size_t>(row)].fields[static_cast<std::size_t>(i)]->setValue(
                    0);
        }));
    return panel;
}

QWidget* DayCalculatorWindow::buildCountPanel() {
    auto* panel = new QWidget(this);
    auto* grid = new QHBoxLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    static const char* kLabels[] = {"日", "時間", "分", "秒"};
    for (int i = 0; i < 4; ++i) {
        const auto high = static_cast<int>(i == 0 ? kMaxOffsetDays : kMaxOffsetPart);
        QSpinBox* field = spin(panel, 0, high, i == 0 ? 7 : 5);
        field->setObjectName(QStringLiteral("offset_%1").arg(i));
        offset_[static_cast<std::size_t>(i)] = field;
        grid->addWidget(field);
        grid->addWidget(new QLabel(QString::fromUtf8(kLabels[i]), panel));
    }
    beforeButton_ = toggle(panel, QStringLiteral("前"), "before");
    afterButton_ = toggle(panel, QStringLiteral("後"), "after");
    auto* group = new QButtonGroup(panel);
    group->addButton(beforeButton_);
    group->addButton(afterButton_);
    afterButton_->setChecked(true);
    for (QToolButton* button : {beforeButton_, afterButton_}) {
        connect(button, &QToolButton::clicked, this,
                core::guard([this] { core::PlaySoundCue(settings_, "c1"); }));
    }
    grid->addWidget(beforeButton_);
    grid->addWidget(afterButton_);
    auto* zero = new QPushButton(QStringLiteral("数値を0にｾｯﾄ"), panel);
    connect(zero, &QPushButton::clicked, this, core::guard([this] {
                for (QSpinBox* field : offset_)
                    field->setValue(0);
            }));
    grid->addWidget(zero);
    return panel;
}

DayCalculatorWindow* DayCalculatorWindow::open(platform::Settings& settings,
                                               const platform::Clock& clock) {
    QPointer<DayCalculatorWindow>& window = instance();
    if (window) {
        bringToFront(window);
        return window;
    }
    window = new DayCalculatorWindow(settings, clock);
    restorePlace(window, settings, "DayCalc");
    window->show();
    return window;
}

bool DayCalculatorWindow::isOpen() {
    return !instance().isNull();
}

bool DayCalculatorWindow::countMode() const {
    return countButton_->isChecked();
}

void DayCalculatorWindow::setCountMode(bool count) {
    (count ? countButton_ : periodButton_)->setChecked(true);
    rowBStack_->setCurrentIndex(count ? 1 : 0);
}

void DayCalculatorWindow::validate(int row) {
    if (validating_)
        return;
    validating_ = true;
    Row& r = rows_[static_cast<std::size_t>(row)];
    const int day = validDay(r.fields[0]->value(), r.fields[1]->value(), r.fields[2]->value());
    r.fields[2]->setValue(day);
    validating_ = false;
}

void DayCalculatorWindow::setRow(int row, const DateTimeFields& f) {
    Row& r = rows_[static_cast<std::size_t>(row)];
    validating_ = true;
    const int values[] = {f.year, f.month, f.day, f.hour, f.minute, f.second};
    for (int i = 0; i < 6; ++i)
        r.fields[static_cast<std::size_t>(i)]->setValue(values[i]);
    validating_ = false;
    validate(row);
}

DateTimeFields DayCalculatorWindow::rowFields(int row) const {
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return {r.fields[0]->value(), r.fields[1]->value(), r.fields[2]->value(),
            r.fields[3]->value(), r.fields[4]->value(), r.fields[5]->value()};
}

void DayCalculatorWindow::setRowToNow(int row) {
    const double now = clock_.now();
    const CivilDate date = decodeDate(now);
    const ClockTime time = decodeTime(now);
    setRow(row, {date.year, date.month, date.day, time.hour, time.minute, time.second});
}

void DayCalculatorWindow::calculate() {
    core::PlaySoundCue(settings_, "sav");
    result_->clear();
    DayCalcResult outcome;
    if (countMode()) {
        const DayOffset offset{offset_[0]->value(), offset_[1]->value(), offset_[2]->value(),
                               offset_[3]->value()};
        outcome = calculateCount(rowFields(0), afterButton_->isChecked(), offset);
    } else {
        outcome = calculatePeriod(rowFields(0), rowFields(1));
    }
    for (const std::string& line : outcome.lines)
        result_->appendPlainText(qs(line));
    if (outcome.failed)
        toolDialogs().warn(this, qs(std::string(kDayCalcFailure)), frameGeometry().topLeft());
}

void DayCalculatorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    core::PlaySoundCue(settings_, "ope");
    for (int row = 0; row < 2; ++row) {
        setRowToNow(row);
        for (int i = 3; i < 6; ++i)
            rows_[static_cast<std::size_t>(row)].fields[static_cast<std::size_t>(i)]->setValue(0);
    }
}

void DayCalculatorWindow::closeEvent(QCloseEvent* event) {
    storePlace(this, settings_, "DayCalc");
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

void DayCalculatorWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

}  // namespace hinagiku::tools
