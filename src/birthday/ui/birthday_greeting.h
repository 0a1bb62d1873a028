#pragma once

#include <QWidget>

#include <functional>

#include "calendar/date_time.h"
#include "platform/settings.h"

class QPlainTextEdit;
class QPushButton;

namespace hinagiku::birthday {

// "Happy Birthday!!": the birthdays of today with their age lines and texts.
class BirthdayGreeting : public QWidget {
    Q_OBJECT
  public:
    // `openRegister` runs for the picture button.
    BirthdayGreeting(const platform::Settings& settings, DateTime today,
                     std::function<void()> openRegister, QWidget* parent = nullptr);

    QPlainTextEdit* textBox() const { return text_; }
    QPushButton* pictureButton() const { return picture_; }
    int entries() const { return entries_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPlainTextEdit* text_ = nullptr;
    QPushButton* picture_ = nullptr;
    int entries_ = 0;
};

// What the main timer calls once a day when a birthday entry for today
// exists: creates and shows the greeting window.
BirthdayGreeting* showBirthdayGreeting(const platform::Settings& settings, DateTime today,
                                       std::function<void()> openRegister);

}  // namespace hinagiku::birthday
