#include "schedule/ui/popup_editor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <exception>
#include <filesystem>

#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "platform/file_search.h"
#include "richtext/text_document.h"
#include "schedule/entry_files.h"
#include "schedule/entry_options.h"
#include "schedule/popup_timer.h"
#include "schedule/ui/picture_chooser.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_style.h"
#include "schedule/ui/sound_chooser.h"

namespace hinagiku::schedule {
namespace {

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
std::string ss(const QString& text) {
    return text.toStdString();
}

constexpr const char* kDiscardWarning =
    "日付の設定が変更されたので\r編集中のものは破棄されました。";

QString boxText(const char* text) {
    QString s = QString::fromUtf8(text);
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// The spin boxes report a value when typing ends, not at every digit: each
// value names another entry, and the window loads it.
bool askYesNo(QWidget* window, const QString& text) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Question, window->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::No);
    box.move(window->pos());
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

PopupEditor::PopupEditor(platform::Settings& settings, const platform::Clock& clock,
                         QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      templates_(settings, core::DataFolder(settings)) {
    setObjectName(QStringLiteral("PopupEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ポップアップの登録"));
    const CivilDate today = decodeDate(clock_.now());
    choice_.date = today;
    buildWindow();
    connectControls();
    writeControls();
    setSaveEnabled(false);
    deleteButton_->setEnabled(false);
    // Setting the editor's font and margins is no change by the user.
    text_->document()->setModified(false);
}

PopupEditor::~PopupEditor() = default;

std::string PopupEditor::dataFolder() const {
    return core::DataFolder(settings_);
}

DateTime PopupEditor::chosenDate() const {
    const auto day = encodeDate(validDate(choice_.date));
    return day ? static_cast<DateTime>(*day) : 0.0;
}

// ---------------------------------------------------------------- controls

void PopupEditor::writeControls() {
    ++updating_;
    year_->setValue(choice_.date.year);
    month_->setValue(choice_.date.month);
    day_->setValue(choice_.date.day);
    hour_->setValue(choice_.hour);
    minute_->setValue(choice_.minute);
    kindTabs_->setCurrentIndex(tabOfKind(choice_.kind));
    holiday_[static_cast<std::size_t>(choice_.holiday)]->setChecked(true);
    saturday_[choice_.saturdayOff ? 1 : 0]->setChecked(true);
    for (std::size_t i = 0; i < weeks_.size(); ++i) {
        weeks_[i]->setChecked(choice_.weeks[i]);
        weeks_[i]->setEnabled(!choice_.lastWeek);
    }
    lastWeek_->setChecked(choice_.lastWeek);
    uptimeSeconds_->setValue(choice_.uptimeSeconds);
    modeStack_->setCurrentIndex(choice_.uptime ? 1 : 0);

    const auto captions = popupTabCaptions(validDate(choice_.date));
    for (int i = 0; i < 5; ++i)
        kindTabs_->setTabText(i, qs(captions[static_cast<std::size_t>(i)]));
    const bool shifting = !choice_.uptime &&
                          (choice_.kind == PopupKind::Yearly || choice_.kind == PopupKind::Monthly);
    holidayGroup_->setEnabled(shifting);
    saturdayGroup_->setEnabled(shifting && choice_.holiday != HolidayChoice::Keep);
    weekGroup_->setEnabled(!choice_.uptime && choice_.kind == PopupKind::Weekday);
    uptimeApprox_->setPlainText(qs(uptimeApproximation(choice_.uptimeSeconds)));
    --updating_;
}

void PopupEditor::readControls() {
    choice_.date = {year_->value(), month_->value(), day_->value()};
    choice_.hour = hour_->value();
    choice_.minute = minute_->value();
    choice_.kind = kPopupTabKinds[static_cast<std::size_t>(std::max(0, kindTabs_->currentIndex()))];
    for (std::size_t i = 0; i < holiday_.size(); ++i) {
        if (holiday_[i]->isChecked())
            choice_.holiday = static_cast<HolidayChoice>(i);
    }
    choice_.saturdayOff = saturday_[1]->isChecked();
    const bool lastWeekNow = lastWeek_->isChecked();
    for (std::size_t i = 0; i < weeks_.size(); ++i)
        choice_.weeks[i] = weeks_[i]->isChecked();
    if (lastWeekNow && !choice_.lastWeek)
        choice_.weeks.fill(false);
    choice_.lastWeek = lastWeekNow;
}

void PopupEditor::controlsChanged() {
    if (updating_ != 0)
        return;
    readControls();
    choice_.date = validDate(choice_.date);
    if (choice_.holiday == HolidayChoice::Keep)
        choice_.saturdayOff = false;
    applyWeekRules(choice_);
    writeControls();
    if (shown_)
        rebuild(false);
}

void PopupEditor::setChoice(const PopupChoice& choice) {
    choice_ = choice;
    choice_.date = validDate(choice_.date);
    choice_.uptimeSeconds = roundUptimeSeconds(choice_.uptimeSeconds);
    if (choice_.holiday == HolidayChoice::Keep)
        choice_.saturdayOff = false;
    applyWeekRules(choice_);
    writeControls();
    if (shown_)
        rebuild(false);
}

void PopupEditor::applyPreset(const PopupEditorPreset& preset) {
    PopupChoice choice;
    choice.kind = preset.kind;
    choice.date = decodeDate(preset.date);
    choice.hour = preset.hour;
    choice.minute = preset.minute;
    choice.holiday = shiftsToPreviousDay(preset.shift) ? HolidayChoice::PreviousDay
                     : shiftsToNextDay(preset.shift)   ? HolidayChoice::NextDay
                                                       : HolidayChoice::Keep;
    choice.saturdayOff = saturdayIsDayOff(preset.shift);
    const WeekMask mask = isValidWeekMask(preset.weeks) ? preset.weeks : kEveryWeek;
    choice.lastWeek = mask == kLastWeek;
    for (int i = 0; i < 5; ++i)
        choice.weeks[static_cast<std::size_t>(i)] = !choice.lastWeek && (mask & (1 << i)) != 0;
    if (preset.uptimeSeconds) {
        choice.uptime = true;
        choice.uptimeSeconds = *preset.uptimeSeconds;
    }
    setChoice(choice);
}

void PopupEditor::uptimeSecondsChanged() {
    if (updating_ != 0)
        return;
    const int rounded = roundUptimeSeconds(uptimeSeconds_->value());
    choice_.uptimeSeconds = rounded;
    writeControls();
    if (shown_ && choice_.uptime)
        rebuild(false);
}

void PopupEditor::calculateSeconds() {
    const long long product = static_cast<long long>(calcSeconds_->value()) * calcCount_->value();
    choice_.uptimeSeconds = roundUptimeSeconds(product);
    writeControls();
    if (shown_ && choice_.uptime)
        rebuild(false);
}

void PopupEditor::backToToday() {
    const DateTime now = clock_.now();
    const ClockTime time = decodeTime(now);
    choice_.date = decodeDate(now);
    choice_.hour = time.hour;
    choice_.minute = time.minute;
    writeControls();
    if (shown_)
        rebuild(false);
}

void PopupEditor::switchToUptime() {
    core::PlaySoundCue(settings_, "c1");
    choice_.uptime = true;
    ++updating_;
    addToSchedule_->setChecked(false);
    addToSchedule_->setEnabled(false);
    --updating_;
    writeControls();
    rebuild(false);
}

void PopupEditor::switchToTime() {
    core::PlaySoundCue(settings_, "c1");
    choice_.uptime = false;
    writeControls();
    rebuild(false);
}

// ---------------------------------------------------------------- rebuild

void PopupEditor::refreshTimePanel() {
    const int lead = PopupTimer::leadMinutes(settings_);
    timePanel_->setText(qs(popupTimePanelText(choice_.hour, choice_.minute, lead)));
    leadNote_->setText(qs(popupLeadTimeNote(lead)));
    QColor background(0, 0, 255);
    if (!choice_.uptime && choice_.kind == PopupKind::Dated) {
        background = popupDayColour(DayOfWeek(chosenDate()));
    }
    QPalette palette = timePanel_->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    timePanel_->setPalette(palette);
}

void PopupEditor::rebuild(bool force) {
    refreshTimePanel();
    const bool dated = !choice_.uptime && choice_.kind == PopupKind::Dated;
    ++updating_;
    if (!dated)
        addToSchedule_->setChecked(false);
    addToSchedule_->setEnabled(dated);
    --updating_;

    const std::string path = core::joinPath(dataFolder(), popupEditorEntryName(choice_));
    text_->setToolTip(qs(popupEditorHint(choice_)));
    copyString_->setText(qs(popupCopyString(choice_)));
    // Controls that still name the same entry (the date of a daily popup,
    // say) keep what is being typed.
    if (!force && path == entryPath_)
        return;

    setSaveEnabled(false);
    deleteButton_->setEnabled(false);
    if (text_->document()->isModified()) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Warning, windowTitle(), boxText(kDiscardWarning),
                        QMessageBox::Ok, this);
        box.exec();
    }
    entryPath_ = path;

    ++updating_;
    text_->clear();
    std::optional<EntryContent> content;
    try {
        content = LoadEntry(entryPath_);
    } catch (const std::exception& e) {
        --updating_;
        core::reportError(QString::fromUtf8(e.what()));
        ++updating_;
    }
    if (content) {
        richtext::loadRichText(content->bytes, *text_->document());
        setSaveEnabled(true);
        deleteButton_->setEnabled(true);
    }
    loadOptions();
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::Start);
    text_->setTextCursor(cursor);
    // Typed text takes the editor's own colour, not that of the text it
    // is typed into.
    QTextCharFormat typing = text_->currentCharFormat();
    typing.clearForeground();
    text_->setCurrentCharFormat(typing);
    text_->document()->setModified(false);
    --updating_;
}

void PopupEditor::loadOptions() {
    const EntryOptions options = readEntryOptions(settings_, entryPath_);
    const bool picture = platform::isRegularFile(options.picture);
    wallpaper_->setChecked(picture && options.wallpaper);
    stretch_->setChecked(picture && options.stretch);
    wallpaper_->setEnabled(picture);
    stretch_->setEnabled(picture);
    program_->setText(qs(options.execute));
    closeTitle_->setText(qs(options.execlose));
    if (!choice_.uptime)
        mail_->setChecked(options.smtp);
    if (options.closeTime < 0) {
        autoClose_->setChecked(false);
        closeSeconds_->setValue(60);
    } else {
        autoClose_->setChecked(true);
        closeSeconds_->setValue(options.closeTime);
    }
    closeSeconds_->setEnabled(autoClose_->isChecked());
}

void PopupEditor::optionChanged() {
    if (updating_ != 0)
        return;
    setSaveEnabled(true);
}

void PopupEditor::setSaveEnabled(bool enabled) {
    saveButton_->setEnabled(enabled);
    saveCloseButton_->setEnabled(enabled);
}

bool PopupEditor::saveEnabled() const {
    return saveButton_->isEnabled();
}

QString PopupEditor::copyString() const {
    return copyString_->text();
}

QString PopupEditor::editorHint() const {
    return text_->toolTip();
}

// ---------------------------------------------------------------- actions

bool PopupEditor::save() {
    if (entryPath_.empty())
        return false;
    setSaveEnabled(false);
    try {
        SaveEntry(entryPath_, richtext::saveRichText(*text_->document()));
        if (addToSchedule_->isChecked() && addToSchedule_->isEnabled()) {
            AddPopupToSchedule(dataFolder(), chosenDate(),
                               richtext::documentPlainText(*text_->document()));
        }
        EntryOptions options;
        options.closeTime = autoClose_->isChecked() ? closeSeconds_->value() : -1;
        if (soundChosen_ && soundChooser_)
            options.soundFile = ss(soundChooser_->fileName());
        if (pictureChosen_ && pictureChooser_)
            options.picture = ss(pictureChooser_->fileName());
        options.smtp = mail_->isChecked();
        options.wallpaper = wallpaper_->isChecked();
        options.stretch = stretch_->isChecked();
        options.execute = ss(program_->text());
        options.execlose = ss(closeTitle_->text());
        writeEntryOptions(settings_, entryPath_, options, soundChosen_, pictureChosen_);
    } catch (const std::exception& e) {
        // Nothing typed is lost: the window stays as it was and can save again.
        setSaveEnabled(true);
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
    if (soundChosen_) {
        soundChosen_ = false;
        delete soundChooser_.data();
    }
    if (pictureChosen_) {
        pictureChosen_ = false;
        delete pictureChooser_.data();
    }
    deleteButton_->setEnabled(true);
    core::PlaySoundCue(settings_, "sav");
    text_->document()->setModified(false);
    return true;
}

void PopupEditor::saveAndClose() {
    if (save())
        close();
}

void PopupEditor::deleteEntry() {
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
    close();
}

void PopupEditor::chooseSound() {
    if (!soundChooser_) {
        soundChooser_ = new SoundChooser(this);
        soundChooser_->setFileName(qs(settings_.readText("Calendar", "file", "")));
    }
    soundChooser_->exec();
    soundChosen_ = true;
    optionChanged();
}

void PopupEditor::choosePicture() {
    if (!pictureChooser_) {
        pictureChooser_ = new PictureChooser(settings_, this);
        const std::string initial = settings_.readText("Calendar", "bitmap", "");
        if (platform::isRegularFile(initial))
            pictureChooser_->setFileName(qs(initial));
    }
    pictureChooser_->move(pos());
    pictureChooser_->exec();
    if (!pictureChooser_)
        return;
    pictureChosen_ = true;
    const bool exists = platform::isRegularFile(ss(pictureChooser_->fileName()));
    ++updating_;
    if (!exists) {
        wallpaper_->setChecked(false);
        stretch_->setChecked(false);
    }
    wallpaper_->setEnabled(exists);
    stretch_->setEnabled(exists);
    --updating_;
    optionChanged();
}

void PopupEditor::appendText(const QString& text) {
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    if (!text_->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
    text_->setTextCursor(cursor);
}

void PopupEditor::insertCopyString() {
    appendText(copyString_->text());
}

// ---------------------------------------------------------------- templates

void PopupEditor::chooseTemplate(int index) {
    if (index < 0 || index >= PopupTemplates::kCount) {
        currentTemplate_ = -1;
        return;
    }
    if (!templates_.ensureFolder())
        return;
    currentTemplate_ = index;
    templateErrorShown_ = false;
    renameButton_->setEnabled(true);
    templateText_->show();
    templateInsert_->show();
    templateDelete_->show();
    templateLoading_ = true;
    templateText_->clear();
    try {
        if (const auto bytes = templates_.load(index)) {
            richtext::loadRichText(*bytes, *templateText_->document());
        }
    } catch (const std::exception& e) {
        templateLoading_ = false;
        core::reportError(QString::fromUtf8(e.what()));
        return;
    }
    templateLoading_ = false;
}

void PopupEditor::insertTemplate() {
    if (currentTemplate_ < 0)
        return;
    appendText(qs(richtext::documentPlainText(*templateText_->document())));
}

void PopupEditor::deleteTemplate() {
    if (currentTemplate_ < 0)
        return;
    const int index = currentTemplate_;
    if (settings_.readInt("Form", "Delete", 0) == 0 &&
        !askYesNo(this, QStringLiteral("「") + qs(templates_.title(index)) +
                            QStringLiteral("」を削除しますか？"))) {
        return;
    }
    try {
        if (templates_.remove(index))
            core::PlaySoundCue(settings_, "del");
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return;
    }
    if (QListWidgetItem* item = templateTitles_->item(index)) {
        item->setText(qs(PopupTemplates::defaultTitle(index)));
    }
    templateLoading_ = true;
    templateText_->clear();
    templateLoading_ = false;
}

void PopupEditor::startRenameTemplate() {
    if (currentTemplate_ < 0)
        return;
    renameEdit_->setText(qs(templates_.title(currentTemplate_)));
    renameEdit_->show();
    renameEdit_->raise();
    renameEdit_->setFocus();
    renameEdit_->selectAll();
}

// ---------------------------------------------------------------- events

void PopupEditor::placeOnScreen() {
    QPoint position(settings_.readInt("Sch_wind", "left", 0),
                    settings_.readInt("Sch_wind", "top", 0));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = frameGeometry().size();
        position.setX(std::min(position.x(), area.right() + 1 - size.width()));
        position.setY(std::min(position.y(), area.bottom() + 1 - size.height()));
    }
    position.setX(std::max(position.x(), 0));
    position.setY(std::max(position.y(), 0));
    move(position);
}

void PopupEditor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    placeOnScreen();
    core::PlaySoundCue(settings_, "ope");
    ++updating_;
    templateTitles_->clear();
    for (int i = 0; i < PopupTemplates::kCount; ++i) {
        templateTitles_->addItem(qs(templates_.title(i)));
    }
    templateTitles_->setCurrentRow(-1);
    --updating_;
    rebuild(true);
}

void PopupEditor::closeEvent(QCloseEvent* event) {
    // A settings file that refuses the position must not keep the window.
    core::runGuarded([this] {
        settings_.writeInt("Sch_wind", "top", pos().y());
        settings_.writeInt("Sch_wind", "left", pos().x());
    });
    core::runGuarded([this] {
        const PopupHooks& hooks = popupHooks();
        if (addToSchedule_->isChecked() && hooks.scheduleListEntryAdded) {
            hooks.scheduleListEntryAdded(chosenDate());
        }
        if (hooks.refreshScheduleManagement)
            hooks.refreshScheduleManagement();
        if (hooks.refreshCalendarMarks)
            hooks.refreshCalendarMarks();
        core::PlaySoundCue(settings_, "clo");
    });
    event->accept();
}

void PopupEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshTimePanel();
}

void PopupEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟ時の音設定"), this,
                   core::guard(this, &PopupEditor::chooseSound));
    menu.addAction(QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟの画像選択"), this,
                   core::guard(this, &PopupEditor::choosePicture));
    menu.addSeparator();
    QAction* saveItem = menu.addAction(QStringLiteral("保存して終了"), this,
                                       core::guard(this, &PopupEditor::saveAndClose));
    saveItem->setEnabled(saveEnabled());
    QAction* deleteItem = menu.addAction(QStringLiteral("削除して終了"), this,
                                         core::guard(this, &PopupEditor::deleteEntry));
    deleteItem->setEnabled(deleteButton_->isEnabled());
    menu.addSeparator();
    menu.addAction(QStringLiteral("取り止め"), this, &QWidget::close);
    menu.exec(event->globalPos());
}

void PopupEditor::showTextMenu(QWidget* target, const QPoint& globalPos) {
    QMenu menu(this);
    QAction* undo = menu.addAction(QStringLiteral("やり直し(&U)"));
    QAction* cut = menu.addAction(QStringLiteral("切り抜き(&T)"));
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"));
    QAction* paste = menu.addAction(QStringLiteral("貼り付け(&P)"));
    menu.addSeparator();
    QAction* all = menu.addAction(QStringLiteral("すべてを選択(&S)"));
    auto* edit = qobject_cast<QTextEdit*>(target);
    auto* line = qobject_cast<QLineEdit*>(target);
    if (line != nullptr && line->isReadOnly()) {
        undo->setEnabled(false);
        cut->setEnabled(false);
        paste->setEnabled(false);
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr)
        return;
    if (edit != nullptr) {
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

// ---------------------------------------------------------------- opening

PopupEditor* openPopupEditor(platform::Settings& settings, const platform::Clock& clock,
                             DateTime selectedDate, QWidget* parent) {
    if (!core::RequireDataFolder(settings))
        return nullptr;
    const DateTime target = PopupTimer::addMinutes(clock.now(), PopupTimer::leadMinutes(settings));
    const ClockTime time = decodeTime(target);
    PopupEditorPreset preset;
    preset.kind = PopupKind::Dated;
    preset.date = selectedDate;
    preset.hour = time.hour;
    preset.minute = time.minute;
    return openPopupEditorOn(settings, clock, preset, parent);
}

PopupEditor* openPopupEditorOn(platform::Settings& settings, const platform::Clock& clock,
                               const PopupEditorPreset& preset, QWidget* parent) {
    if (!core::RequireDataFolder(settings))
        return nullptr;
    auto* editor = new PopupEditor(settings, clock, parent);
    editor->applyPreset(preset);
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

}  // namespace hinagiku::schedule
