#include "diary/ui/diary_list_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendar/date_time.h"
#include "core/sound_cues.h"
#include "diary/diary_store.h"
#include "diary/ui/diary_search_window.h"
#include "diary/ui/diary_tool.h"
#include "diary/ui/diary_window.h"
#include "mainwindow/ui/color_value.h"
#include "mainwindow/window_modes.h"

namespace hinagiku::diary::ui {
namespace {

constexpr int kDayRole = Qt::UserRole + 1;

// Lines drawn on the colours of their date's class (past, today, future);
// a selected line swaps its pair.
class LineDelegate : public QStyledItemDelegate {
  public:
    LineDelegate(DiaryTool& tool, QObject* parent) : QStyledItemDelegate(parent), tool_(tool) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto [text, back] = colorsFor(index.data(kDayRole).toInt(), option.palette);
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? text : back);
        painter->setPen(selected ? back : text);
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(Qt::DisplayRole).toString());
    }

    std::pair<QColor, QColor> colorsFor(int day, const QPalette& palette) const {
        const int today = dayNumber(tool_.clock().now());
        const auto& settings = tool_.settings();
        using namespace mainwindow;
        int text = 0;
        int back = 0;
        if (day < today) {
            text = settings.readInt("To_do", "PastColor", 16777215);
            back = settings.readInt("To_do", "PastBackColor", kSysActiveCaption);
        } else if (day == today) {
            text = settings.readInt("To_do", "TodayColor", 16777215);
            back = settings.readInt("To_do", "TodayBackColor", kSysButtonShadow);
        } else {
            text = settings.readInt("To_do", "FutureColor", 8388608);
            back = settings.readInt("To_do", "FutureBackColor", kSysMenu);
        }
        return {colorFromValue(text, palette), colorFromValue(back, palette)};
    }

  private:
    DiaryTool& tool_;
};

QToolButton* makeButton(QWidget* parent, const QString& text, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

}  // namespace

DiaryListWindow::DiaryListWindow(DiaryTool& tool, QWidget* parent)
    : QWidget(parent, Qt::Tool), tool_(tool) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("日記リスト"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* row = new QHBoxLayout;
    year_ = new QSpinBox(this);
    year_->setRange(1, 9999);
    month_ = new QSpinBox(this);
    month_->setRange(1, 12);
    today_ = makeButton(this, QStringLiteral("今"), QStringLiteral("今日に戻す｡"));
    searchButton_ = makeButton(this, QStringLiteral("検"), QStringLiteral("日記を検索"));
    row->addWidget(year_);
    row->addWidget(new QLabel(QStringLiteral("年"), this));
    row->addWidget(month_);
    row->addWidget(new QLabel(QStringLiteral("月"), this));
    row->addWidget(today_);
    row->addWidget(searchButton_);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    row->addWidget(progress_, 1);
    layout->addLayout(row);
    view_ = new QListWidget(this);
    view_->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸで日記を開きます。"));
    view_->setItemDelegate(new LineDelegate(tool_, view_));
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(view_, 1);

    menu_ = new QMenu(this);
    writeAction_ = menu_->addAction(QStringLiteral("想いを綴る"));
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("閉じる(&C)")), &QAction::triggered, this,
            &QWidget::close);
    connect(writeAction_, &QAction::triggered, this, &DiaryListWindow::openSelected);
    connect(menu_, &QMenu::aboutToShow, this, &DiaryListWindow::updateMenuCaption);
    connect(view_, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(view_->mapToGlobal(at)); });
    connect(view_, &QListWidget::itemDoubleClicked, this, &DiaryListWindow::openSelected);
    connect(view_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row >= static_cast<int>(list_.lines.size()))
            return;
        auto* delegate = static_cast<LineDelegate*>(view_->itemDelegate());
        const auto [text, back] =
            delegate->colorsFor(list_.lines[static_cast<std::size_t>(row)].day, palette());
        QPalette colors = view_->palette();
        colors.setColor(QPalette::Base, back);
        colors.setColor(QPalette::Text, text);
        view_->setPalette(colors);
    });
    connect(year_, &QSpinBox::valueChanged, this, &DiaryListWindow::refill);
    connect(month_, &QSpinBox::valueChanged, this, &DiaryListWindow::refill);
    connect(today_, &QToolButton::clicked, this, &DiaryListWindow::backToToday);
    connect(searchButton_, &QToolButton::clicked, this, &DiaryListWindow::openSearch);

    // Placement, kept on the screen.
    auto& settings = tool_.settings();
    int left = settings.readInt("Nikki", "list_left", 0);
    int top = settings.readInt("Nikki", "list_top", 0);
    const int width = std::max(100, settings.readInt("Nikki", "list_Width", 334));
    const int height = std::max(100, settings.readInt("Nikki", "list_Height", 309));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        mainwindow::pullOnScreen(left, top, width, height,
                                 {area.left(), area.top(), area.width(), area.height()});
    }
    resize(width, height);
    move(left, top);
    placed_ = true;

    core::PlaySoundCue(settings, "ope");
    {
        const CivilDate today = decodeDate(tool_.clock().now());
        const QSignalBlocker b1(year_), b2(month_);
        year_->setValue(today.year);
        month_->setValue(today.month);
    }
    refill();
    if (settings.readInt("Nikki", "Serch_open", 0) == 1)
        openSearch();
}

DiaryListWindow::~DiaryListWindow() = default;

int DiaryListWindow::year() const {
    return year_->value();
}

int DiaryListWindow::month() const {
    return month_->value();
}

int DiaryListWindow::dayOfLine(const QString& line) {
    const auto date =
        encodeDate(line.mid(0, 4).toInt(), line.mid(5, 2).toInt(), line.mid(8, 2).toInt());
    return date.value_or(0);
}

void DiaryListWindow::selectLine(int index) {
    if (view_->count() == 0)
        return;
    view_->setCurrentRow(std::clamp(index, 0, view_->count() - 1));
}

void DiaryListWindow::refill() {
    int remembered = std::max(0, view_->currentRow());
    const bool asked = requestedDay_ != 0;
    if (asked)
        remembered = decodeDate(requestedDay_).day - 1;
    requestedDay_ = 0;
    list_ = buildMonthList(diaryFolder(tool_.settings()), year(), month());
    progress_->setRange(0, static_cast<int>(list_.lines.size()));
    progress_->setValue(list_.written);
    progress_->setToolTip(
        QString::fromStdString(writtenHint(list_)).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    view_->clear();
    for (const ListLine& line : list_.lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), view_);
        item->setData(kDayRole, line.day);
    }
    const CivilDate today = decodeDate(tool_.clock().now());
    if (!asked && today.year == year() && today.month == month())
        selectLine(today.day - 1);
    else
        selectLine(remembered < view_->count() ? remembered : 0);
}

void DiaryListWindow::showDay(int day) {
    const CivilDate date = decodeDate(day);
    {
        const QSignalBlocker b1(year_), b2(month_);
        year_->setValue(date.year);
        month_->setValue(date.month);
    }
    requestedDay_ = day;
    refill();
    raise();
}

void DiaryListWindow::backToToday() {
    const CivilDate today = decodeDate(tool_.clock().now());
    const QSignalBlocker b1(year_), b2(month_);
    year_->setValue(today.year);
    month_->setValue(today.month);
    refill();
}

void DiaryListWindow::openSearch() {
    if (!search_) {
        search_ = new DiarySearchWindow(tool_, *this);
        search_->show();
    }
    search_->raise();
    search_->activateWindow();
}

void DiaryListWindow::openSelected() {
    const int row = view_->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.lines.size()))
        return;
    tool_.openPage(list_.lines[static_cast<std::size_t>(row)].day);
}

void DiaryListWindow::updateMenuCaption() {
    const int row = view_->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.lines.size()))
        return;
    const CivilDate date = decodeDate(list_.lines[static_cast<std::size_t>(row)].day);
    writeAction_->setText(QStringLiteral("%1年%2月%3日を綴る")
                              .arg(date.year, 4, 10, QLatin1Char('0'))
                              .arg(date.month, 2, 10, QLatin1Char('0'))
                              .arg(date.day, 2, 10, QLatin1Char('0')));
}

void DiaryListWindow::writePlacement() {
    if (!placed_)
        return;
    auto& settings = tool_.settings();
    settings.writeInt("Nikki", "list_top", y());
    settings.writeInt("Nikki", "list_left", x());
    settings.writeInt("Nikki", "list_Width", width());
    settings.writeInt("Nikki", "list_Height", height());
}

void DiaryListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        writePlacement();
}

void DiaryListWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
}

void DiaryListWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refill();
}

void DiaryListWindow::closeEvent(QCloseEvent* event) {
    auto& settings = tool_.settings();
    if (search_) {
        search_->close();
        settings.writeInt("Nikki", "Serch_open", 1);
    }
    tool_.closePages();
    writePlacement();
    core::PlaySoundCue(settings, "clo");
    event->accept();
}

}  // namespace hinagiku::diary::ui
