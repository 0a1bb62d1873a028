#include "schedule/agenda/ui/schedule_management_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "calendar/format_date.h"
#include "core/sound_cues.h"
#include "mainwindow/ui/color_value.h"
#include "platform/atomic_file.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/agenda/ui/window_placement.h"
#include "schedule/entry_files.h"
#include "schedule/ui/popup_editor.h"

namespace hinagiku::schedule {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kNavy = 0x800000;
constexpr const char* kHintProperty = "statusHint";

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QColor colour(int value) {
    return mainwindow::colorFromValue(value, QApplication::palette());
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

DateTime dateValue(const CivilDate& date) {
    return static_cast<DateTime>(dayNumberOf(date));
}

}  // namespace

ScheduleManagementWindow::ScheduleManagementWindow(platform::Settings& settings,
                                                   const platform::Clock& clock, AgendaHost host,
                                                   QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      host_(std::move(host)) {
    setObjectName(QStringLiteral("ScheduleManagementWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("スケジュール管理"));
    chosen_ = host_.calendarDate ? host_.calendarDate() : decodeDate(clock_.now());
    if (!encodeDate(chosen_))
        chosen_ = decodeDate(clock_.now());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    auto* modeRow = new QHBoxLayout;
    pastButton_ = button(this, "past", "過去");
    allButton_ = button(this, "all", "全て");
    dayButton_ = button(this, "day", "");
    for (QPushButton* b : {pastButton_, allButton_, dayButton_}) {
        b->setCheckable(true);
        modeRow->addWidget(b);
    }
    layout->addLayout(modeRow);
    auto* dateRow = new QHBoxLayout;
    previousButton_ = button(this, "previous", "前日へ");
    todayButton_ = button(this, "today", "今日に戻す｡");
    nextButton_ = button(this, "next", "翌日へ");
    dateRow->addWidget(previousButton_);
    dateRow->addWidget(todayButton_);
    dateRow->addWidget(nextButton_);
    layout->addLayout(dateRow);
    auto* actionRow = new QHBoxLayout;
    deleteButton_ = button(this, "delete", "削除");
    popupButton_ = button(this, "popup", "ポップアップ");
    todoButton_ = button(this, "todo", "スケジュール");
    actionRow->addWidget(deleteButton_);
    actionRow->addWidget(popupButton_);
    actionRow->addWidget(todoButton_);
    layout->addLayout(actionRow);
    noConfirm_ = new QCheckBox(QStringLiteral("削除の確認をしない。"), this);
    noConfirm_->setObjectName(QStringLiteral("noConfirm"));
    layout->addWidget(noConfirm_);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);
    list_ = new QListWidget(splitter_);
    list_->setObjectName(QStringLiteral("entries"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* lower = new QWidget(splitter_);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    heading_ = new QLabel(lower);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->setAutoFillBackground(true);
    heading_->setMinimumHeight(20);
    preview_ = new QTextEdit(lower);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setReadOnly(true);
    lowerLayout->addWidget(heading_);
    lowerLayout->addWidget(preview_, 1);
    splitter_->addWidget(list_);
    splitter_->addWidget(lower);
    layout->addWidget(splitter_, 1);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status_);

    setHint(list_, "スケジュールデータの一覧です。");
    setHint(splitter_->handle(1), "ドラッグでサイズ変更");
    setHint(preview_, "プレビュー画面");
    setHint(deleteButton_, "データの削除");
    setHint(pastButton_, "過去のデータを一覧表示");
    setHint(allButton_, "全てのデータを一覧表示");
    setHint(dayButton_, "選択日のデータを一覧表示");
    setHint(nextButton_, "選択日を翌日に移動");
    setHint(todayButton_, "選択日を今日に移動");
    setHint(previousButton_, "選択日を前日に移動");

    const bool locked = settings_.readInt("Form", "Delete", 0) != 0;
    noConfirm_->setChecked(locked);
    noConfirm_->setEnabled(!locked);

    connect(pastButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::listPast);
    connect(allButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::listAll);
    connect(dayButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::listDay);
    connect(previousButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::previousDay);
    connect(nextButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::nextDay);
    connect(todayButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::backToToday);
    connect(deleteButton_, &QPushButton::clicked, this, &ScheduleManagementWindow::deleteSelected);
    connect(popupButton_, &QPushButton::clicked, this,
            [this] { openPopupEditor(settings_, clock_, dateValue(chosen_)); });
    connect(todoButton_, &QPushButton::clicked, this,
            [this] { openToDoEditor(settings_, clock_, host_, chosen_); });
    connect(list_, &QListWidget::itemSelectionChanged, this,
            &ScheduleManagementWindow::selectionChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { editSelected(); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { showListMenu(list_->mapToGlobal(p)); });
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = splitter_->sizes();
        if (sizes.value(1) <= heading_->minimumHeight()) {
            const int free = sizes.value(0) + sizes.value(1);
            splitter_->setSizes({free / 2, free - free / 2});
        }
    });
    refreshDateControls();
    deleteButton_->setEnabled(false);
    placeBeforeShowing(this,
                       {settings_.readInt("Data", "left", 0), settings_.readInt("Data", "top", 0)});
}

void ScheduleManagementWindow::setHint(QWidget* widget, const char* text) {
    widget->setProperty(kHintProperty, QString::fromUtf8(text));
    widget->installEventFilter(this);
}

bool ScheduleManagementWindow::eventFilter(QObject* watched, QEvent* event) {
    const QVariant hint = watched->property(kHintProperty);
    if (hint.isValid() && event->type() == QEvent::Enter)
        status_->setText(hint.toString());
    if (hint.isValid() && event->type() == QEvent::Leave)
        status_->setText(fileName_);
    return QWidget::eventFilter(watched, event);
}

void ScheduleManagementWindow::refreshDateControls() {
    const QString caption = qs(FormatDate("yyyy\"/\"mm\"/\"dd\"(\"ddd\")\"", dateValue(chosen_)));
    dayButton_->setText(caption);
    todayButton_->setEnabled(!(chosen_ == decodeDate(clock_.now())));
}

void ScheduleManagementWindow::setHeading(const QString& text, int colourValue) {
    heading_->setText(text);
    QPalette palette = heading_->palette();
    palette.setColor(QPalette::Window, colour(colourValue));
    palette.setColor(QPalette::WindowText, Qt::white);
    heading_->setPalette(palette);
}

void ScheduleManagementWindow::listing(ListingMode mode) {
    core::PlaySoundCue(settings_, "c1");
    mode_ = mode;
    pastButton_->setChecked(mode == ListingMode::Past);
    allButton_->setChecked(mode == ListingMode::All);
    dayButton_->setChecked(mode == ListingMode::Day);
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Text, colour(listTextColor(mode)));
    const int selection = mode == ListingMode::All    ? 0x008000
                          : mode == ListingMode::Past ? 0x0000FF
                                                      : 0xFF0000;
    palette.setColor(QPalette::Highlight, colour(selection));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    list_->setPalette(palette);
    setHeading(qs(emptyHeading(mode)), headingColor(mode));

    QSignalBlocker block(list_);
    list_->clear();
    preview_->clear();
    status_->clear();
    fileName_.clear();
    deleteButton_->setEnabled(false);
    const DateTime now = clock_.now();
    entries_ = listEntries(scheduleFolder(settings_), mode, now, dateValue(chosen_));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        auto* item = new QListWidgetItem(qs(entries_[i].description), list_);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    block.unblock();
    if (!entries_.empty())
        selectRow(0);
}

void ScheduleManagementWindow::listAll() {
    listing(ListingMode::All);
}
void ScheduleManagementWindow::listPast() {
    listing(ListingMode::Past);
}
void ScheduleManagementWindow::listDay() {
    listing(ListingMode::Day);
}
void ScheduleManagementWindow::relist() {
    listing(mode_);
}

void ScheduleManagementWindow::previousDay() {
    if (const auto day = encodeDate(chosen_); day && *day > dayNumberOf({1, 1, 1}))
        chosen_ = decodeDate(*day - 1);
    refreshDateControls();
    listDay();
}

void ScheduleManagementWindow::nextDay() {
    if (const auto day = encodeDate(chosen_); day && *day < dayNumberOf({9999, 12, 31}))
        chosen_ = decodeDate(*day + 1);
    refreshDateControls();
    listDay();
}

void ScheduleManagementWindow::backToToday() {
    chosen_ = decodeDate(clock_.now());
    refreshDateControls();
    listDay();
}

void ScheduleManagementWindow::selectRow(int row) {
    list_->clearSelection();
    list_->setCurrentRow(row);
}

void ScheduleManagementWindow::selectionChanged() {
    const QListWidgetItem* item = list_->currentItem();
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    deleteButton_->setEnabled(!selected.isEmpty());
    if (item == nullptr || !item->isSelected())
        return;
    const ListedEntry& entry = entries_[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())];
    fileName_ = qs(cleanDisplayText(entry.name));
    status_->setText(fileName_);
    setHeading(qs(itemHeading(entry)), itemHeadingColor(mode_, entry));
    QPalette palette = preview_->palette();
    QColor text = Qt::black;
    QColor back = Qt::white;
    if (entry.date) {
        const int offset = dayNumberOf(*entry.date) - dayNumber(clock_.now());
        const char* keys[2] = {offset < 0    ? "PastColor"
                               : offset == 0 ? "TodayColor"
                                             : "FutureColor",
                               offset < 0    ? "PastBackColor"
                               : offset == 0 ? "TodayBackColor"
                                             : "FutureBackColor"};
        const int textDefault = offset > 0 ? kNavy : kWhite;
        const int backDefault = offset < 0    ? mainwindow::kSysActiveCaption
                                : offset == 0 ? mainwindow::kSysButtonShadow
                                              : mainwindow::kSysMenu;
        text = colour(settings_.readInt("To_do", keys[0], textDefault));
        back = colour(settings_.readInt("To_do", keys[1], backDefault));
    }
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, back);
    preview_->setPalette(palette);
    try {
        const auto content = LoadEntry(entry.path);
        preview_->setPlainText(content ? qs(content->plainText()) : QString());
    } catch (const std::exception& e) {
        preview_->setPlainText(QStringLiteral("この予定は読み込めません。\n") +
                               QString::fromUtf8(e.what()));
    }
}

void ScheduleManagementWindow::deleteSelected() {
    QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    if (!noConfirm_->isChecked()) {
        QApplication::beep();
        if (QMessageBox::question(this, windowTitle(), QStringLiteral("削除しますか？"),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return;
        }
    }
    QStringList errors;
    std::vector<int> removed;
    for (QListWidgetItem* item : selected) {
        const int index = item->data(Qt::UserRole).toInt();
        try {
            deleteListedEntry(entries_[static_cast<std::size_t>(index)], settings_);
            removed.push_back(index);
        } catch (const std::exception& e) {
            errors << QString::fromUtf8(e.what());
        }
    }
    if (!removed.empty()) {
        QSignalBlocker block(list_);
        for (int row = list_->count() - 1; row >= 0; --row) {
            const int index = list_->item(row)->data(Qt::UserRole).toInt();
            if (std::find(removed.begin(), removed.end(), index) != removed.end())
                delete list_->takeItem(row);
        }
        list_->clearSelection();
        core::PlaySoundCue(settings_, "del");
        preview_->clear();
        status_->clear();
        fileName_.clear();
        deleteButton_->setEnabled(false);
        setHeading(qs(kDeletedHeading), headingColor(mode_));
        changed_ = true;
        if (host_.refreshDayView)
            host_.refreshDayView();
        if (host_.refreshCalendarMarks)
            host_.refreshCalendarMarks();
    }
    if (!errors.isEmpty()) {
        QApplication::beep();
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("削除できませんでした。\n") + errors.join('\n'));
    }
}

void ScheduleManagementWindow::editSelected() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr)
        return;
    const ListedEntry& entry = entries_[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())];
    const EditTarget target = editTargetOf(entry, clock_.now());
    switch (target.editor) {
        case EditTarget::Editor::None:
            QApplication::beep();
            QMessageBox::warning(this, windowTitle(), qs(target.error));
            return;
        case EditTarget::Editor::ToDo:
            openToDoEditorOn(settings_, clock_, host_, target.todo);
            break;
        case EditTarget::Editor::Popup: {
            PopupEditorPreset preset;
            preset.kind = target.popup.kind;
            preset.date = dateValue(target.popup.date);
            preset.hour = target.popup.hour;
            preset.minute = target.popup.minute;
            preset.shift = target.popup.shift;
            preset.weeks = target.popup.weeks;
            preset.uptimeSeconds = target.popup.uptimeSeconds;
            openPopupEditorOn(settings_, clock_, preset);
            break;
        }
    }
    changed_ = true;
}

void ScheduleManagementWindow::showListMenu(const QPoint& globalPos) {
    QMenu menu(this);
    QAction* all =
        menu.addAction(QStringLiteral("全ての一覧"), this, &ScheduleManagementWindow::listAll);
    all->setCheckable(true);
    all->setChecked(mode_ == ListingMode::All);
    QAction* past =
        menu.addAction(QStringLiteral("過去の一覧"), this, &ScheduleManagementWindow::listPast);
    past->setCheckable(true);
    past->setChecked(mode_ == ListingMode::Past);
    QAction* day = menu.addAction(dayButton_->text(), this, &ScheduleManagementWindow::listDay);
    day->setCheckable(true);
    day->setChecked(mode_ == ListingMode::Day);
    menu.addAction(QStringLiteral("本日の一覧"), this, &ScheduleManagementWindow::backToToday);
    menu.addSeparator();
    menu.addAction(QStringLiteral("修正"), this, &ScheduleManagementWindow::editSelected)
        ->setEnabled(list_->currentItem() != nullptr);
    menu.addAction(QStringLiteral("削除"), this, &ScheduleManagementWindow::deleteSelected)
        ->setEnabled(deleteButton_->isEnabled());
    menu.exec(globalPos);
}

QString ScheduleManagementWindow::headingText() const {
    return heading_->text();
}
QString ScheduleManagementWindow::statusText() const {
    return status_->text();
}
QString ScheduleManagementWindow::selectedFileName() const {
    return fileName_;
}
QString ScheduleManagementWindow::previewText() const {
    return preview_->toPlainText();
}
QString ScheduleManagementWindow::dayButtonText() const {
    return dayButton_->text();
}
bool ScheduleManagementWindow::deleteEnabled() const {
    return deleteButton_->isEnabled();
}

void ScheduleManagementWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    const int frame = frameGeometry().height() - geometry().height();
    const int height = std::clamp(settings_.readInt("Data", "Height", 420), 240,
                                  std::max(240, screenHeight() - frame));
    resize(std::max(width(), 320), height);
    move(placedOnScreen({settings_.readInt("Data", "left", 0), settings_.readInt("Data", "top", 0)},
                        frameGeometry().size()));
    const int total = splitter_->height();
    const int listHeight = settings_.readInt("Data", "LHeight", total / 2);
    if (listHeight > 20 && listHeight < total - 40)
        splitter_->setSizes({listHeight, total - listHeight});
    else
        splitter_->setSizes({total / 2, total - total / 2});
    core::PlaySoundCue(settings_, "ope");
    listDay();
}

void ScheduleManagementWindow::closeEvent(QCloseEvent* event) {
    settings_.writeInt("Data", "top", pos().y());
    settings_.writeInt("Data", "left", pos().x());
    settings_.writeInt("Data", "Height", height());
    settings_.writeInt("Data", "LHeight", splitter_->sizes().value(0));
    core::PlaySoundCue(settings_, "clo");
    event->accept();
    if (closed)
        closed(changed_);
}

}  // namespace hinagiku::schedule
