#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

#include "calendar/date_time.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/entry_name.h"
#include "schedule/ui/picture_chooser.h"
#include "schedule/ui/popup_editor_model.h"
#include "schedule/ui/popup_templates.h"
#include "schedule/ui/sound_chooser.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QTextEdit;

namespace hinagiku::schedule {

// Where the schedule management window opens the popup editor: on an
// existing entry's kind, date, time, shift and weeks, or on an uptime entry.
struct PopupEditorPreset {
    PopupKind kind = PopupKind::Dated;
    DateTime date = 0;
    int hour = 0;
    int minute = 0;
    ShiftKind shift = ShiftKind::None;
    WeekMask weeks = kEveryWeek;
    std::optional<int> uptimeSeconds;  // set: uptime mode with these seconds
};

// The popup editor, "ポップアップの登録": creates, edits and deletes popup and
// uptime entries with their options, and keeps twenty text templates. The
// controls name one entry file at a time; whenever they come to name another
// one, that entry (if any) is loaded in place of the text being edited.
class PopupEditor : public QWidget {
    Q_OBJECT
  public:
    PopupEditor(platform::Settings& settings, const platform::Clock& clock,
                QWidget* parent = nullptr);
    ~PopupEditor() override;

    // What the controls point at. Before the window is shown this only sets
    // the controls; afterwards the window rebuilds as for a change by hand.
    void setChoice(const PopupChoice& choice);
    void applyPreset(const PopupEditorPreset& preset);
    const PopupChoice& choice() const { return choice_; }

    // The entry file the controls name (data folder, "/", name).
    const std::string& entryPath() const { return entryPath_; }
    QString copyString() const;
    QString editorHint() const;
    bool saveEnabled() const;

    // "保存": false when the entry could not be written (the text stays).
    bool save();
    // "保存して閉じる", menu "保存して終了".
    void saveAndClose();
    // "削除", menu "削除して終了".
    void deleteEntry();
    // "サウンド", menu "ﾎﾟｯﾌﾟｱｯﾌﾟ時の音設定".
    void chooseSound();
    // "画像", menu "ﾎﾟｯﾌﾟｱｯﾌﾟの画像選択".
    void choosePicture();
    // "Ｗ" and "Ｔ".
    void switchToUptime();
    void switchToTime();
    // "今日に戻す｡".
    void backToToday();
    // "挿入": the copy string below the text.
    void insertCopyString();
    // "計算": the seconds from the calculator.
    void calculateSeconds();

    // Templates: choose slot `index` (-1 none), insert it, delete it, rename it.
    void chooseTemplate(int index);
    void insertTemplate();
    void deleteTemplate();
    void startRenameTemplate();
    int currentTemplate() const { return currentTemplate_; }

    // The chooser kept since the last save, for callers that drive it.
    SoundChooser* soundChooser() const { return soundChooser_; }
    PictureChooser* pictureChooser() const { return pictureChooser_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void buildWindow();
    QWidget* buildDateRow();
    QWidget* buildKindArea();
    QWidget* buildUptimePanel();
    QWidget* buildChoiceGroups();
    QWidget* buildOptions();
    QWidget* buildTemplates();
    void connectControls();

    void writeControls();
    void readControls();
    void controlsChanged();
    void rebuild(bool force);
    void refreshTimePanel();
    void loadOptions();
    void optionChanged();
    void setSaveEnabled(bool enabled);
    void appendText(const QString& text);
    void showTextMenu(QWidget* target, const QPoint& globalPos);
    void uptimeSecondsChanged();
    void placeOnScreen();
    std::string dataFolder() const;
    DateTime chosenDate() const;

    platform::Settings& settings_;
    const platform::Clock& clock_;
    PopupTemplates templates_;
    PopupChoice choice_;
    std::string entryPath_;
    bool shown_ = false;
    int updating_ = 0;  // controls being set by the window itself
    bool soundChosen_ = false;
    bool pictureChosen_ = false;
    QPointer<SoundChooser> soundChooser_;
    QPointer<PictureChooser> pictureChooser_;
    int currentTemplate_ = -1;
    bool templateLoading_ = false;
    bool templateErrorShown_ = false;

    QSpinBox* year_;
    QSpinBox* month_;
    QSpinBox* day_;
    QPushButton* todayButton_;
    QSpinBox* hour_;
    QSpinBox* minute_;
    QLabel* timePanel_;
    QLabel* leadNote_;
    QTabBar* kindTabs_;
    QPushButton* uptimeButton_;
    QPushButton* timeButton_;
    QStackedWidget* modeStack_;
    QSpinBox* uptimeSeconds_;
    QPlainTextEdit* uptimeApprox_;
    QSpinBox* calcSeconds_;
    QSpinBox* calcCount_;
    QPushButton* calcButton_;
    QGroupBox* holidayGroup_;
    std::array<QRadioButton*, 3> holiday_;
    QGroupBox* saturdayGroup_;
    std::array<QRadioButton*, 2> saturday_;
    QGroupBox* weekGroup_;
    std::array<QCheckBox*, 5> weeks_;
    QCheckBox* lastWeek_;
    QTextEdit* text_;
    QLineEdit* copyString_;
    QPushButton* insertButton_;
    QPushButton* soundButton_;
    QPushButton* pictureButton_;
    QCheckBox* wallpaper_;
    QCheckBox* stretch_;
    QLineEdit* program_;
    QPushButton* browseButton_;
    QLineEdit* closeTitle_;
    QCheckBox* mail_;
    QCheckBox* addToSchedule_;
    QCheckBox* autoClose_;
    QSpinBox* closeSeconds_;
    QPushButton* saveCloseButton_;
    QPushButton* saveButton_;
    QPushButton* deleteButton_;
    QPushButton* cancelButton_;
    QListWidget* templateTitles_;
    QPushButton* renameButton_;
    QLineEdit* renameEdit_;
    QTextEdit* templateText_;
    QPushButton* templateInsert_;
    QPushButton* templateDelete_;
};

// Opens a new popup editor on the dated kind for `selectedDate` (the date
// selected in the main calendar) at the current time plus the lead time, so
// that the popup time shown is now. With no data folder set the settings
// dialog opens instead and nothing is returned. The editor frees itself
// when it closes.
PopupEditor* openPopupEditor(platform::Settings& settings, const platform::Clock& clock,
                             DateTime selectedDate, QWidget* parent = nullptr);
// The schedule management window's opening on an existing entry.
PopupEditor* openPopupEditorOn(platform::Settings& settings, const platform::Clock& clock,
                               const PopupEditorPreset& preset, QWidget* parent = nullptr);

}  // namespace hinagiku::schedule
