#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "birthday/biorhythm.h"
#include "birthday/register_list.h"
#include "calendar/date_time.h"
#include "platform/clock.h"
#include "platform/settings.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTextEdit;

namespace hinagiku::birthday {

class BiorhythmChart;

// What the register asks of the rest of the program.
struct RegisterHooks {
    // After a save or delete: the main window's day view, calendar marks and
    // memo list are rebuilt.
    std::function<void()> entriesChanged;
};

enum class SaveAnswer { Yes, No, Cancel };

// The register's questions; tests answer them for the user.
struct RegisterQuestions {
    // "変更が保存されていません。保存しますか？" (Yes, No, Cancel).
    std::function<SaveAnswer(const QString& text)> saveChanges;
    // "削除しますか？" (Yes, No).
    std::function<bool(const QString& text)> confirmDelete;
};

inline constexpr const char* kUnsavedQuestion = "変更が保存されていません。保存しますか？";

// "Happy Birthday Dear..": birthday entries, one file per birth date, with the
// almanac of the date shown and its biorhythm chart.
class BirthdayRegister : public QWidget {
    Q_OBJECT
  public:
    BirthdayRegister(platform::Settings& settings, const platform::Clock& clock,
                     RegisterHooks hooks, QWidget* parent = nullptr);
    ~BirthdayRegister() override;

    void setQuestions(RegisterQuestions questions);

    // The date boxes set as typed (the register's date rules apply); one
    // date-change run.
    void setBirthDate(int year, int month, int day);
    CivilDate birthDate() const { return birth_; }
    // The entry file for the date shown (its name as on disk when it exists).
    const std::string& entryPath() const { return entryPath_; }

    // "保存": false when nothing was written.
    bool save();
    // "削除".
    void deleteEntry();
    // "設定": the year from the age box.
    void setYearFromAge();
    // A click on the list item in `row`.
    void chooseListItem(int row);
    // "先月へ", "翌月へ", "今日に戻す｡".
    void previousMonth();
    void nextMonth();
    void currentMonth();
    // "12星座" (false) and "13星座" (true).
    void setThirteenSigns(bool thirteen);

    YearMonth shownMonth() const { return shown_; }
    int dateChangeRuns() const { return dateChangeRuns_; }
    const std::vector<RegisterItem>& items() const { return items_; }

    QSpinBox* yearBox() const { return year_; }
    QSpinBox* monthBox() const { return month_; }
    QSpinBox* dayBox() const { return day_; }
    QSpinBox* ageBox() const { return age_; }
    QTextEdit* textBox() const { return text_; }
    QListWidget* list() const { return list_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QLabel* label(const char* objectName) const;
    BiorhythmChart* chart() const { return chart_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void build();
    void dateBoxesChanged();
    bool confirmLeave();
    void applyDate(const CivilDate& date);
    void dateChanged();
    void showAgeNames(int age);
    void showSign();
    void showChart();
    void rebuildList();
    void setLabel(QLabel* label, const QString& text);
    CivilDate today() const;
    void placeOnScreen();
    void writeClosingSettings();
    void sessionEnding();

    platform::Settings& settings_;
    const platform::Clock& clock_;
    RegisterHooks hooks_;
    RegisterQuestions questions_;

    CivilDate birth_{2000, 1, 1};
    std::string entryPath_;
    YearMonth shown_;
    std::vector<RegisterItem> items_;
    int updating_ = 0;
    bool dirty_ = false;
    bool shownOnce_ = false;
    int dateChangeRuns_ = 0;

    QSpinBox* year_ = nullptr;
    QSpinBox* month_ = nullptr;
    QSpinBox* day_ = nullptr;
    QSpinBox* age_ = nullptr;
    QLabel* monthName_ = nullptr;
    QLabel* rokuyo_ = nullptr;
    QLabel* ageName_ = nullptr;
    QLabel* celebration_ = nullptr;
    QLabel* sign_ = nullptr;
    QLabel* signPicture_ = nullptr;
    QLabel* animal_ = nullptr;
    QLabel* animalPicture_ = nullptr;
    QLabel* stone_ = nullptr;
    QLabel* stonePicture_ = nullptr;
    QLabel* flower_ = nullptr;
    QLabel* language_ = nullptr;
    QLabel* bioBirth_ = nullptr;
    QLabel* bioMonth_ = nullptr;
    QTextEdit* text_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
    BiorhythmChart* chart_ = nullptr;
};

// Opens the register (or brings it to the front); nothing without a data
// folder (the settings dialog opens instead).
BirthdayRegister* openBirthdayRegister(platform::Settings& settings, const platform::Clock& clock,
                                       RegisterHooks hooks);
// The open register, if any.
BirthdayRegister* openRegister();

// The date [Bio] BD names ("yyyy/mm/dd", characters 1-4, 6-7, 9-10), kept by
// the register's date rules; `fallback` when the value is damaged.
CivilDate storedBirthDate(const platform::Settings& settings, const CivilDate& fallback);

}  // namespace hinagiku::birthday
