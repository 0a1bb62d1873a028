#pragma once

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <string>

#include "calendar/date_time.h"
#include "platform/settings.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace hinagiku::schedule {

// The window of one tick's popup reminders: the texts of the entries due in
// that tick, a date panel, a picture, and snooze, delete and close. It stays
// on top of other windows without taking the focus, and frees itself when
// it closes.
class PopupWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 377;
    static constexpr int kClientHeight = 151;

    // `tickMilliseconds`: the period of the window's one-second timer.
    explicit PopupWindow(platform::Settings& settings, int tickMilliseconds = 1000,
                         QWidget* parent = nullptr);
    ~PopupWindow() override;

    // LoadPopupEntry: the entry's text goes below the texts already shown and
    // the entry becomes the one whose options the window presents. A dated
    // entry enables the delete action, which then removes that entry.
    void addEntry(const std::string& path, const std::string& plainText, bool dated);

    // PresentPopup's parts, in the order it runs them.
    void setDateLabel(DateTime labelTime);
    void setPicture(const QImage& image, bool stretch);
    // Starts the countdown: `closeTime` seconds until the window closes
    // itself, -1 (or any negative value) never; 0 never shows the window and
    // frees it at the timer's first tick.
    void present(int closeTime);

    // Path of the last entry loaded (its entry options section).
    const std::string& entryPath() const { return entryPath_; }
    // The entry the delete action removes; empty while it is disabled.
    const std::string& deletePath() const { return deletePath_; }
    QString dateText() const;
    QString text() const;
    int closeCountdown() const { return closeCountdown_; }
    long long snoozeCountdown() const { return snoozeCountdown_; }
    bool presented() const { return presented_; }
    // The picture as loaded (before it is fitted to the box); null while the
    // default picture shows.
    const QImage& picture() const { return picture_; }
    bool pictureStretched() const { return stretch_; }

  public slots:
    // The one-second timer: the close countdown, or the snooze countdown.
    void Timer1Timer();
    // Snooze: hide for the minutes in the snooze box, then come back.
    void snooze();
    // Delete the dated entry of this window (after asking unless
    // [Form] Delete is set), then close.
    void deleteEntry();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void enableSnooze(bool enabled);
    void reassertTopmost();
    bool confirmDelete();

    platform::Settings& settings_;
    QLabel* datePanel_;
    QPlainTextEdit* textBox_;
    QLabel* pictureBox_;
    QPushButton* deleteButton_;
    QComboBox* snoozeMinutes_;
    QLabel* snoozeLabel_;
    QPushButton* snoozeButton_;
    QTimer timer_;

    QStringList texts_;
    std::string entryPath_;
    std::string deletePath_;
    QImage picture_;
    bool stretch_ = true;
    int closeCountdown_ = -1;
    long long snoozeCountdown_ = -1;
    bool presented_ = false;
    bool placed_ = false;
    bool raisePending_ = false;
    qint64 lastRaise_ = 0;
};

}  // namespace hinagiku::schedule
