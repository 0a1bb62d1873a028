#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/settings.h"
#include "tools/countdown.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace hinagiku::tools {

// "減算タイマー": counts a span of hours and minutes down, announces 50 %,
// 80 % and the end with a text and a sound each, and can hide itself until
// the time is up. Spans can be stored as presets in [Gtimer].
class CountdownWindow : public QWidget {
    Q_OBJECT
  public:
    CountdownWindow(platform::Settings& settings, const platform::Clock& clock,
                    QWidget* parent = nullptr);
    ~CountdownWindow() override;

    static CountdownWindow* open(platform::Settings& settings, const platform::Clock& clock);
    static bool isOpen();

    // Where the end is also told to the desktop (a notification); tests
    // record it.
    static void setEndNotifier(std::function<void(const QString& text)> notifier);

    QSpinBox* hoursField() const { return hours_; }
    QSpinBox* minutesField() const { return minutes_; }
    QListWidget* presetList() const { return presets_; }
    QLineEdit* titleField() const { return title_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QGroupBox* propertyGroup() const { return group_; }
    QLineEdit* soundField(int index) const { return sounds_[static_cast<std::size_t>(index)]; }
    QPushButton* startButton() const { return start_; }
    QPushButton* pauseButton() const { return pause_; }
    QPushButton* resetButton() const { return reset_; }
    QCheckBox* hideBox() const { return hide_; }
    QLabel* startLabel() const { return startLabel_; }
    QLabel* endLabel() const { return endLabel_; }
    QProgressBar* progress() const { return progress_; }
    QLabel* statusBar() const { return status_; }
    const CountdownRun* run() const { return run_ ? &*run_ : nullptr; }

    void startCountdown();
    void togglePause();
    void resetCountdown();
    void tick();
    void addPreset();
    void deletePreset();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void presetSelected();
    void loadPresets();
    void normaliseFields();
    void chooseSound(int index);
    void soundEdited(int index);
    void setEditing(bool enabled);
    void play(const std::string& path);
    std::string soundFor(int index) const;

    platform::Settings& settings_;
    const platform::Clock& clock_;
    QSpinBox* hours_;
    QSpinBox* minutes_;
    QListWidget* presets_;
    QLineEdit* title_;
    QPushButton* add_;
    QPushButton* delete_;
    QGroupBox* group_;
    std::array<QLineEdit*, 3> sounds_{};
    std::array<QToolButton*, 3> soundButtons_{};
    QPushButton* start_;
    QPushButton* pause_;
    QPushButton* reset_;
    QCheckBox* hide_;
    QLabel* startLabel_;
    QLabel* endLabel_;
    QProgressBar* progress_;
    QLabel* status_;
    QTimer timer_;
    std::optional<CountdownRun> run_;
    std::string runTitle_;
    std::array<std::string, 3> runSounds_;
    bool shown_ = false;
    int loading_ = 0;
};

}  // namespace hinagiku::tools
