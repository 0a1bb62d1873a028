#include "schedule/agenda/ui/todo_editor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <exception>

#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "platform/file_search.h"
#include "richtext/text_document.h"
#include "schedule/agenda/ui/window_placement.h"
#include "schedule/entry_files.h"

namespace hinagiku::schedule {
namespace {

constexpr const char* kDiscardWarning =
    "日付の設定が変更されたので\r編集中のものは破棄されました。";
constexpr const char* kTypedHint = "Saveしないと有効になりません｡";

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString boxText(const char* text) {
    QString s = QString::fromUtf8(text);
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QSpinBox* spinBox(QWidget* parent, const char* name, int min, int max) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setKeyboardTracking(false);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

bool askYesNo(QWidget* window, const QString& text) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Question, window->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::No);
    box.move(window->pos());
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

ToDoEditor::ToDoEditor(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      host_(std::move(host)) {
    setObjectName(QStringLiteral("ToDoEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("スケジュールの登録"));
    choice_.date = decodeDate(clock_.now());
    buildWindow();
    writeControls();
    placeBeforeShowing(
        this, {settings_.readInt("To_do", "left", 0), settings_.readInt("To_do", "top", 0)});
}

void ToDoEditor::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    auto* dateRow = new QHBoxLayout;
    year_ = spinBox(this, "year", 1, 9999);
    month_ = spinBox(this, "month", 1, 12);
    day_ = spinBox(this, "day", 1, 31);
    dateRow->addWidget(year_);
    dateRow->addWidget(new QLabel(QStringLiteral("年"), this));
    dateRow->addWidget(month_);
    dateRow->addWidget(new QLabel(QStringLiteral("月"), this));
    dateRow->addWidget(day_);
    dateRow->addWidget(new QLabel(QStringLiteral("日"), this));
    offset_ = new QLabel(this);
    offset_->setObjectName(QStringLiteral("offset"));
    offset_->setToolTip(QStringLiteral("Offs"));
    offset_->setMinimumWidth(40);
    offset_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dateRow->addWidget(offset_);
    todayButton_ = button(this, "today", "今日に戻す｡");
    dateRow->addWidget(todayButton_);
    layout->addLayout(dateRow);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("kindTabs"));
    tabs_->setUsesScrollButtons(false);
    for (int i = 0; i < 4; ++i)
        tabs_->addTab(QString());
    layout->addWidget(tabs_);

    auto* options = new QHBoxLayout;
    holidayGroup_ = new QGroupBox(QStringLiteral("休日なら"), this);
    auto* holidayLayout = new QVBoxLayout(holidayGroup_);
    auto* holidayButtons = new QButtonGroup(this);
    const char* holidayCaptions[] = {"そのまま", "前日へ", "翌日へ"};
    for (int i = 0; i < 3; ++i) {
        holiday_[static_cast<std::size_t>(i)] =
            new QRadioButton(QString::fromUtf8(holidayCaptions[i]), holidayGroup_);
        holidayButtons->addButton(holiday_[static_cast<std::size_t>(i)], i);
        holidayLayout->addWidget(holiday_[static_cast<std::size_t>(i)]);
    }
    saturdayGroup_ = new QGroupBox(QStringLiteral("土曜日は"), this);
    auto* saturdayLayout = new QVBoxLayout(saturdayGroup_);
    auto* saturdayButtons = new QButtonGroup(this);
    const char* saturdayCaptions[] = {"平日", "休日扱い"};
    for (int i = 0; i < 2; ++i) {
        saturday_[static_cast<std::size_t>(i)] =
            new QRadioButton(QString::fromUtf8(saturdayCaptions[i]), saturdayGroup_);
        saturdayButtons->addButton(saturday_[static_cast<std::size_t>(i)], i);
        saturdayLayout->addWidget(saturday_[static_cast<std::size_t>(i)]);
    }
    weekGroup_ = new QGroupBox(QStringLiteral("週指定"), this);
    auto* weekLayout = new QGridLayout(weekGroup_);
    const char* weekCaptions[] = {"第１週", "第２週", "第３週", "第４週", "第５週"};
    for (int i = 0; i < 5; ++i) {
        weeks_[static_cast<std::size_t>(i)] =
            new QCheckBox(QString::fromUtf8(weekCaptions[i]), weekGroup_);
        weekLayout->addWidget(weeks_[static_cast<std::size_t>(i)], i % 3, i / 3);
    }
    lastWeek_ = new QCheckBox(QStringLiteral("最終週"), weekGroup_);
    weekLayout->addWidget(lastWeek_, 2, 1);
    options->addWidget(holidayGroup_);
    options->addWidget(saturdayGroup_);
    options->addWidget(weekGroup_);
    layout->addLayout(options);

    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setAcceptRichText(true);
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    text_->setMinimumHeight(120);
    layout->addWidget(text_, 1);

    auto* copyRow = new QHBoxLayout;
    copyString_ = new QLineEdit(this);
    copyString_->setObjectName(QStringLiteral("copyString"));
    copyString_->setReadOnly(true);
    copyString_->setToolTip(QStringLiteral("コピー用の文字列です。(CTRL+C)"));
    copyString_->setContextMenuPolicy(Qt::CustomContextMenu);
    insertButton_ = button(this, "insert", "挿入");
    copyRow->addWidget(copyString_, 1);
    copyRow->addWidget(insertButton_);
    layout->addLayout(copyRow);

    auto* buttons = new QHBoxLayout;
    saveCloseButton_ = button(this, "saveClose", "保存して閉じる");
    saveButton_ = button(this, "save", "保存");
    deleteButton_ = button(this, "delete", "削除");
    buttons->addWidget(saveCloseButton_);
    buttons->addWidget(saveButton_);
    buttons->addWidget(deleteButton_);
    layout->addLayout(buttons);

    for (QSpinBox* box : {year_, month_, day_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            if (updating_ == 0)
                dateChanged();
        });
    }
    connect(todayButton_, &QPushButton::clicked, this, &ToDoEditor::backToToday);
    connect(tabs_, &QTabBar::currentChanged, this, [this] {
        if (updating_ != 0)
            return;
        core::PlaySoundCue(settings_, "c1");
        readControls();
        rebuild(false);
    });
    auto optionChanged = [this] {
        if (updating_ != 0)
            return;
        readControls();
        rebuild(false);
    };
    connect(holidayButtons, &QButtonGroup::idClicked, this, optionChanged);
    connect(saturdayButtons, &QButtonGroup::idClicked, this, optionChanged);
    for (QCheckBox* box : weeks_)
        connect(box, &QCheckBox::clicked, this, optionChanged);
    connect(lastWeek_, &QCheckBox::clicked, this, optionChanged);
    connect(text_, &QTextEdit::textChanged, this, &ToDoEditor::textChanged);
    connect(text_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { showTextMenu(text_, text_->mapToGlobal(p)); });
    connect(copyString_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { showTextMenu(copyString_, copyString_->mapToGlobal(p)); });
    connect(insertButton_, &QPushButton::clicked, this, &ToDoEditor::insertCopyString);
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(saveCloseButton_, &QPushButton::clicked, this, &ToDoEditor::saveAndClose);
    connect(deleteButton_, &QPushButton::clicked, this, &ToDoEditor::deleteEntry);
    setSaveEnabled(false);
    deleteButton_->setEnabled(false);
}

// ---------------------------------------------------------------- controls

void ToDoEditor::readControls() {
    choice_.kind = static_cast<ToDoKind>(std::max(0, tabs_->currentIndex()));
    choice_.holiday = holiday_[1]->isChecked()   ? ToDoHoliday::PreviousDay
                      : holiday_[2]->isChecked() ? ToDoHoliday::NextDay
                                                 : ToDoHoliday::Keep;
    choice_.saturdayOff = saturday_[1]->isChecked();
    for (std::size_t k = 0; k < weeks_.size(); ++k)
        choice_.weeks[k] = weeks_[k]->isChecked();
    choice_.lastWeek = lastWeek_->isChecked();
}

void ToDoEditor::writeControls() {
    ++updating_;
    applyToDoRules(choice_);
    year_->setValue(choice_.date.year);
    month_->setValue(choice_.date.month);
    day_->setValue(choice_.date.day);
    tabs_->setCurrentIndex(static_cast<int>(choice_.kind));
    holiday_[static_cast<std::size_t>(choice_.holiday)]->setChecked(true);
    saturday_[choice_.saturdayOff ? 1 : 0]->setChecked(true);
    for (std::size_t k = 0; k < weeks_.size(); ++k)
        weeks_[k]->setChecked(choice_.weeks[k]);
    lastWeek_->setChecked(choice_.lastWeek);

    const CivilDate today = decodeDate(clock_.now());
    todayButton_->setEnabled(!(choice_.date == today));
    offset_->setText(QString::number(dayNumberOf(choice_.date) - dayNumberOf(today)));
    const auto captions = toDoTabCaptions(choice_.date);
    for (int i = 0; i < 4; ++i)
        tabs_->setTabText(i, qs(captions[static_cast<std::size_t>(i)]));
    tabs_->setMinimumWidth(tabs_->sizeHint().width());
    enableControls();
    --updating_;
}

void ToDoEditor::enableControls() {
    const bool recurring = choice_.kind == ToDoKind::Yearly || choice_.kind == ToDoKind::Monthly;
    const bool weekday = choice_.kind == ToDoKind::Weekday;
    holidayGroup_->setEnabled(recurring);
    saturdayGroup_->setEnabled(recurring && choice_.holiday != ToDoHoliday::Keep);
    weekGroup_->setEnabled(weekday);
    lastWeek_->setEnabled(weekday);
    for (QCheckBox* box : weeks_)
        box->setEnabled(weekday && !choice_.lastWeek);
}

void ToDoEditor::setChoice(const ToDoChoice& choice) {
    choice_ = choice;
    choice_.date = correctedDate(choice.date.year, choice.date.month, choice.date.day);
    writeControls();
    if (shown_)
        rebuild(false);
}

void ToDoEditor::setDateFields(long long year, long long month, long long day) {
    choice_.date = correctedDate(year, month, day);
    writeControls();
    if (shown_)
        rebuild(false);
}

void ToDoEditor::dateChanged() {
    choice_.date = correctedDate(year_->value(), month_->value(), day_->value());
    readControls();
    writeControls();
    rebuild(false);
}

void ToDoEditor::backToToday() {
    setDateFields(decodeDate(clock_.now()).year, decodeDate(clock_.now()).month,
                  decodeDate(clock_.now()).day);
}

// ---------------------------------------------------------------- rebuild

void ToDoEditor::rebuild(bool force) {
    ++updating_;
    applyToDoRules(choice_);
    --updating_;
    writeControls();
    const std::string folder = scheduleFolder(settings_);
    const std::string name = toDoEditorEntryName(choice_);
    // The entry as it is on disk: a name in another case is the same entry.
    std::string onDisk = name;
    if (!folder.empty())
        platform::fileExists(folder, name, &onDisk);
    // Without a data folder the editor names no file (never one in the
    // current directory).
    const std::string path = folder.empty() ? std::string() : core::joinPath(folder, onDisk);
    copyString_->setText(qs(toDoCopyString(choice_)));
    if (!force && path == entryPath_) {
        if (!text_->document()->isModified())
            text_->setToolTip(qs(toDoEditorHint(choice_)));
        return;
    }

    setSaveEnabled(false);
    deleteButton_->setEnabled(false);
    if (text_->document()->isModified()) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Warning, windowTitle(), boxText(kDiscardWarning),
                        QMessageBox::Ok, this);
        box.exec();
    }
    entryPath_ = path;
    unreadable_ = false;

    ++updating_;
    text_->clear();
    text_->setReadOnly(false);
    text_->setToolTip(qs(toDoEditorHint(choice_)));
    std::optional<EntryContent> content;
    std::string error;
    try {
        if (!entryPath_.empty())
            content = LoadEntry(entryPath_);
    } catch (const std::exception& e) {
        error = e.what();
    }
    if (content) {
        richtext::loadRichText(content->bytes, *text_->document());
        deleteButton_->setEnabled(true);
    }
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::Start);
    text_->setTextCursor(cursor);
    QTextCharFormat typing = text_->currentCharFormat();
    typing.clearForeground();
    text_->setCurrentCharFormat(typing);
    text_->document()->setModified(false);
    --updating_;

    if (!error.empty()) {
        // Never overwrite an entry blind: it stays as it is on disk.
        unreadable_ = true;
        text_->setReadOnly(true);
        deleteButton_->setEnabled(true);
        text_->setToolTip(QStringLiteral("この予定は読み込めませんでした。"));
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("予定を読み込めません。上書きはしません。\n%1")
                                 .arg(QString::fromUtf8(error.c_str())));
    }
}

void ToDoEditor::textChanged() {
    if (updating_ != 0 || unreadable_)
        return;
    text_->setToolTip(QString::fromUtf8(kTypedHint));
    setSaveEnabled(true);
}

void ToDoEditor::setSaveEnabled(bool enabled) {
    saveButton_->setEnabled(enabled);
    saveCloseButton_->setEnabled(enabled);
}

bool ToDoEditor::saveEnabled() const {
    return saveButton_->isEnabled();
}
bool ToDoEditor::deleteEnabled() const {
    return deleteButton_->isEnabled();
}
QString ToDoEditor::copyString() const {
    return copyString_->text();
}
QString ToDoEditor::editorHint() const {
    return text_->toolTip();
}
QString ToDoEditor::offsetText() const {
    return offset_->text();
}

// ---------------------------------------------------------------- actions

bool ToDoEditor::save() {
    if (entryPath_.empty() || unreadable_ || scheduleFolder(settings_).empty())
        return false;
    try {
        SaveEntry(entryPath_, richtext::saveRichText(*text_->document()));
    } catch (const std::exception& e) {
        // The text stays and can be saved again.
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
    core::PlaySoundCue(settings_, "sav");
    text_->document()->setModified(false);
    setSaveEnabled(false);
    deleteButton_->setEnabled(true);
    if (host_.refreshDayView)
        host_.refreshDayView();
    if (host_.refreshCalendarMarks)
        host_.refreshCalendarMarks();
    return true;
}

void ToDoEditor::saveAndClose() {
    if (save())
        close();
}

void ToDoEditor::deleteEntry() {
    if (entryPath_.empty())
        return;
    if (settings_.readInt("Form", "Delete", 0) == 0 &&
        !askYesNo(this, QStringLiteral("削除しますか？"))) {
        return;
    }
    try {
        DeleteEntry(entryPath_, settings_);
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return;
    }
    core::PlaySoundCue(settings_, "del");
    if (host_.refreshDayView)
        host_.refreshDayView();
    if (host_.refreshCalendarMarks)
        host_.refreshCalendarMarks();
    text_->document()->setModified(false);
    close();
}

void ToDoEditor::insertCopyString() {
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    if (!text_->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(copyString_->text());
}

void ToDoEditor::showTextMenu(QWidget* target, const QPoint& globalPos) {
    QMenu menu(this);
    QAction* undo = menu.addAction(QStringLiteral("やり直し(&U)"));
    QAction* cut = menu.addAction(QStringLiteral("切り抜き(&T)"));
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"));
    QAction* paste = menu.addAction(QStringLiteral("貼り付け(&P)"));
    QAction* all = menu.addAction(QStringLiteral("すべてを選択(&S)"));
    menu.addSeparator();
    QMenu* closeMenu = menu.addMenu(QStringLiteral("閉じる"));
    QAction* saveClose = closeMenu->addAction(QStringLiteral("保存して終了"));
    saveClose->setEnabled(saveCloseButton_->isEnabled());
    QAction* deleteClose = closeMenu->addAction(QStringLiteral("削除して終了"));
    deleteClose->setEnabled(deleteButton_->isEnabled());
    auto* edit = qobject_cast<QTextEdit*>(target);
    auto* line = qobject_cast<QLineEdit*>(target);
    if (line != nullptr || (edit != nullptr && edit->isReadOnly())) {
        undo->setEnabled(false);
        cut->setEnabled(false);
        paste->setEnabled(false);
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr)
        return;
    if (chosen == saveClose) {
        saveAndClose();
    } else if (chosen == deleteClose) {
        deleteEntry();
    } else if (edit != nullptr) {
        if (chosen == undo)
            edit->undo();
        if (chosen == cut)
            edit->cut();
        if (chosen == copy)
            edit->copy();
        if (chosen == paste)
            edit->paste();
        if (chosen == all)
            edit->selectAll();
    } else if (line != nullptr) {
        if (chosen == copy)
            line->copy();
        if (chosen == all)
            line->selectAll();
    }
}

// ---------------------------------------------------------------- events

void ToDoEditor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    if (host_.mainWindowWidth)
        resize(std::max(host_.mainWindowWidth(), sizeHint().width()), height());
    move(placedOnScreen(
        {settings_.readInt("To_do", "left", 0), settings_.readInt("To_do", "top", 0)},
        frameGeometry().size()));
    core::PlaySoundCue(settings_, "ope");
    rebuild(true);
}

void ToDoEditor::closeEvent(QCloseEvent* event) {
    settings_.writeInt("To_do", "top", pos().y());
    settings_.writeInt("To_do", "left", pos().x());
    core::PlaySoundCue(settings_, "clo");
    event->accept();
    if (host_.editorClosed)
        host_.editorClosed(choice_);
    else if (host_.refreshCalendarMarks)
        host_.refreshCalendarMarks();
}

// ---------------------------------------------------------------- opening

ToDoEditor* openToDoEditorOn(platform::Settings& settings, const platform::Clock& clock,
                             const AgendaHost& host, const ToDoChoice& choice) {
    if (!core::RequireDataFolder(settings))
        return nullptr;
    auto* editor = new ToDoEditor(settings, clock, host);
    editor->setChoice(choice);
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

ToDoEditor* openToDoEditor(platform::Settings& settings, const platform::Clock& clock,
                           const AgendaHost& host, const CivilDate& date) {
    ToDoChoice choice;
    choice.date = date;
    return openToDoEditorOn(settings, clock, host, choice);
}

}  // namespace hinagiku::schedule
