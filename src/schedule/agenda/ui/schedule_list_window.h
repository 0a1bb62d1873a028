#pragma once

#include <QWidget>

#include <filesystem>

#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/agenda/schedule_list_text.h"
#include "schedule/agenda/ui/agenda_host.h"

class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QSplitter;

namespace hinagiku::schedule {

// The schedule list, the program's agenda: the day views of a range of days
// around a base date in three boxes (before today, today, after today).
class ScheduleListWindow : public QWidget {
    Q_OBJECT
  public:
    ScheduleListWindow(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
                       QWidget* parent = nullptr);

    // "一覧": rebuilds the three boxes.
    void build();
    // The tick's change of date: the base date to today, then a build.
    void backToTodayAndBuild();
    // "今日に戻す｡": the base date fields to today.
    void backToToday();
    void setBaseFields(long long year, long long month, long long day);
    void setSpan(int before, int after);

    DateTime baseDate() const;
    const Agenda& agenda() const { return agenda_; }
    bool listEnabled() const;
    QPlainTextEdit* box(int index) const { return boxes_[index]; }
    QSplitter* splitter() const { return splitter_; }

    // The text of "印刷" and "テキスト出力" for the boxes as built, with
    // "Print:" the current time.
    std::string outputText() const;
    // Prints to a printer the caller set up (the job named by the caption).
    void printTo(QPrinter& printer) const;
    // "印刷": the print dialog, then printTo.
    void print();
    // "テキスト出力": the save dialog, then writeTextFile.
    void saveText();
    // Writes the file; false (after the message) when it could not be
    // written. Characters Shift-JIS lacks are written as "?" and the user is
    // told.
    bool writeTextFile(const std::filesystem::path& path);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fieldsChanged();
    void applyColors();
    void restoreSizes();
    void showBoxMenu(QPlainTextEdit* box, const QPoint& globalPos);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    AgendaHost host_;
    Agenda agenda_;
    CivilDate base_;
    int updating_ = 0;
    bool shown_ = false;
    QSpinBox* year_;
    QSpinBox* month_;
    QSpinBox* day_;
    QSpinBox* before_;
    QSpinBox* after_;
    QPushButton* listButton_;
    QPushButton* todayButton_;
    QPushButton* popupButton_;
    QPushButton* todoButton_;
    QSplitter* splitter_;
    QPlainTextEdit* boxes_[3];
    QWidget* leftEdge_;
    QWidget* rightEdge_;
};

// The fixed-pitch Japanese font fontconfig gives for "monospace:lang=ja".
QFont japaneseFixedFont();

}  // namespace hinagiku::schedule
