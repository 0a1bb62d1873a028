#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/agenda/todo_choice.h"
#include "schedule/agenda/ui/agenda_host.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabBar;
class QTextEdit;

namespace hinagiku::schedule {

// The schedule editor, "スケジュールの登録": creates, edits and deletes one
// to-do entry at a time. The controls name an entry file; whenever they
// come to name another one, that entry (if any) is loaded in place of the
// text being edited. An entry whose name exists on disk in another case is
// that very file: it is loaded, saved and deleted under its own name.
class ToDoEditor : public QWidget {
    Q_OBJECT
  public:
    ToDoEditor(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
               QWidget* parent = nullptr);

    // Before the window is shown this only sets the controls; afterwards
    // the window rebuilds as for a change by hand.
    void setChoice(const ToDoChoice& choice);
    const ToDoChoice& choice() const { return choice_; }
    // The date fields as typed (corrected as the editor does).
    void setDateFields(long long year, long long month, long long day);

    const std::string& entryPath() const { return entryPath_; }
    QString copyString() const;
    QString editorHint() const;
    QString offsetText() const;
    bool saveEnabled() const;
    bool deleteEnabled() const;
    QTextEdit* textArea() const { return text_; }
    QTabBar* tabs() const { return tabs_; }

    // "保存": false when nothing was written (the text and window stay).
    bool save();
    void saveAndClose();
    // "削除": asks unless [Form] Delete; closes the editor when deleted.
    void deleteEntry();
    void backToToday();
    void insertCopyString();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    void readControls();
    void writeControls();
    void dateChanged();
    void rebuild(bool force);
    void enableControls();
    void textChanged();
    void setSaveEnabled(bool enabled);
    void showTextMenu(QWidget* target, const QPoint& globalPos);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    AgendaHost host_;
    ToDoChoice choice_;
    std::string entryPath_;
    bool shown_ = false;
    bool unreadable_ = false;  // the entry exists but could not be read
    int updating_ = 0;

    QSpinBox* year_;
    QSpinBox* month_;
    QSpinBox* day_;
    QPushButton* todayButton_;
    QLabel* offset_;
    QTabBar* tabs_;
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
    QPushButton* saveCloseButton_;
    QPushButton* saveButton_;
    QPushButton* deleteButton_;
};

// Todo1Click: a new editor for `date` (the settings dialog instead while no
// data folder is set). The editor frees itself when it closes.
ToDoEditor* openToDoEditor(platform::Settings& settings, const platform::Clock& clock,
                           const AgendaHost& host, const CivilDate& date);
// The management window's "修正": an editor preset to an entry.
ToDoEditor* openToDoEditorOn(platform::Settings& settings, const platform::Clock& clock,
                             const AgendaHost& host, const ToDoChoice& choice);

}  // namespace hinagiku::schedule
