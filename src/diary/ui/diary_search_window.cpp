#include "diary/ui/diary_search_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextEdit>
#include <QVBoxLayout>

#include "calendar/date_time.h"
#include "core/sound_cues.h"
#include "diary/diary_store.h"
#include "diary/ui/diary_list_window.h"
#include "diary/ui/diary_tool.h"
#include "diary/ui/diary_window.h"
#include "mainwindow/window_modes.h"

namespace hinagiku::diary::ui {
namespace {

constexpr int kWidth = 372;
const QString kIdle = QStringLiteral("日記を検索します。");

QSpinBox* rangeBox(QWidget* parent, int low, int high) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setToolTip(QStringLiteral("検索する期間を指定します。"));
    return box;
}

}  // namespace

DiarySearchWindow::DiarySearchWindow(DiaryTool& tool, DiaryListWindow& list, QWidget* parent)
    : QWidget(parent, Qt::Tool), tool_(tool), list_(list) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("日記の検索"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* range = new QGroupBox(QStringLiteral("検索期間"), this);
    auto* rangeRow = new QHBoxLayout(range);
    startYear_ = rangeBox(range, 1, 9999);
    startMonth_ = rangeBox(range, 1, 12);
    endYear_ = rangeBox(range, 1, 9999);
    endMonth_ = rangeBox(range, 1, 12);
    rangeRow->addWidget(startYear_);
    rangeRow->addWidget(new QLabel(QStringLiteral("年"), range));
    rangeRow->addWidget(startMonth_);
    rangeRow->addWidget(new QLabel(QStringLiteral("月～"), range));
    rangeRow->addWidget(endYear_);
    rangeRow->addWidget(new QLabel(QStringLiteral("年"), range));
    rangeRow->addWidget(endMonth_);
    rangeRow->addWidget(new QLabel(QStringLiteral("月"), range));
    layout->addWidget(range);
    auto* textBox = new QGroupBox(QStringLiteral("検索文字"), this);
    auto* textRow = new QHBoxLayout(textBox);
    text_ = new QLineEdit(textBox);
    text_->setToolTip(QStringLiteral("検索したい文字列を入力します。"));
    searchButton_ = new QPushButton(QStringLiteral("検索"), textBox);
    searchButton_->setToolTip(QStringLiteral("検索を開始します。"));
    textRow->addWidget(text_, 1);
    textRow->addWidget(searchButton_);
    layout->addWidget(textBox);
    results_ = new QListWidget(this);
    results_->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸで日記に移動します。"));
    layout->addWidget(results_, 1);
    status_ = new QLabel(kIdle, this);
    layout->addWidget(status_);
    connect(searchButton_, &QPushButton::clicked, this, &DiarySearchWindow::search);
    connect(text_, &QLineEdit::returnPressed, this, &DiarySearchWindow::search);
    connect(results_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { jump(results_->row(item)); });

    auto& settings = tool_.settings();
    const CivilDate today = decodeDate(tool_.clock().now());
    startYear_->setValue(settings.readInt("Nikki", "Serch_Syear", today.year));
    startMonth_->setValue(settings.readInt("Nikki", "Serch_Smonth", today.month));
    endYear_->setValue(settings.readInt("Nikki", "Serch_Eyear", today.year));
    endMonth_->setValue(settings.readInt("Nikki", "Serch_Emonth", today.month));
    text_->setText(QString::fromStdString(settings.readText("Nikki", "Serch_String", "")));
    int left = settings.readInt("Nikki", "Serch_left", 0);
    int top = settings.readInt("Nikki", "Serch_top", 0);
    const int height = std::max(120, settings.readInt("Nikki", "Serch_Height", 197));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        mainwindow::pullOnScreen(left, top, kWidth, height,
                                 {area.left(), area.top(), area.width(), area.height()});
    }
    // Fixed width: only the height can change.
    setFixedWidth(kWidth);
    resize(kWidth, height);
    move(left, top);
    core::PlaySoundCue(settings, "ope");
}

void DiarySearchWindow::search() {
    searched_ = text_->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    results_->clear();
    hits_.clear();
    const std::string text = searched_.toStdString();
    hits_ = searchDiary(diaryFolder(tool_.settings()), startYear_->value(), startMonth_->value(),
                        endYear_->value(), endMonth_->value(), text, [this](int day) {
                            status_->setText(QString::fromStdString(dateLabel(day)));
                            return true;
                        });
    for (const SearchHit& hit : hits_)
        results_->addItem(QString::fromStdString(hit.line));
    status_->setText(kIdle);
    QApplication::restoreOverrideCursor();
}

void DiarySearchWindow::jump(int row) {
    if (row < 0 || row >= static_cast<int>(hits_.size()))
        return;
    const SearchHit& hit = hits_[static_cast<std::size_t>(row)];
    list_.showDay(hit.day);
    list_.raise();
    if (hit.kind != MatchKind::Body)
        return;
    DiaryWindow* page = tool_.openPage(hit.day);
    if (page != nullptr && !page->refused()) {
        page->selectFirst(searched_);
        page->raise();
        page->editor()->setFocus();
    }
}

void DiarySearchWindow::closeEvent(QCloseEvent* event) {
    auto& settings = tool_.settings();
    settings.writeInt("Nikki", "Serch_top", y());
    settings.writeInt("Nikki", "Serch_left", x());
    settings.writeInt("Nikki", "Serch_Width", width());
    settings.writeInt("Nikki", "Serch_Height", height());
    settings.writeInt("Nikki", "Serch_Syear", startYear_->value());
    settings.writeInt("Nikki", "Serch_Smonth", startMonth_->value());
    settings.writeInt("Nikki", "Serch_Eyear", endYear_->value());
    settings.writeInt("Nikki", "Serch_Emonth", endMonth_->value());
    settings.writeText("Nikki", "Serch_String", text_->text().toStdString());
    settings.writeInt("Nikki", "Serch_open", 0);
    core::PlaySoundCue(settings, "clo");
    event->accept();
}

}  // namespace hinagiku::diary::ui
