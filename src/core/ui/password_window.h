#pragma once

#include <QDialog>

#include "platform/settings.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace hinagiku::core {

// The password window "Password?": the "Password:" field that a check
// compares, the last access times and the group that sets or changes the
// password. Modal; `settings` must outlive it.
class PasswordWindow : public QDialog {
    Q_OBJECT
  public:
    explicit PasswordWindow(platform::Settings& settings, QWidget* parent = nullptr);

    // The text of the "Password:" field (what a check compares).
    QString typedPassword() const;

    QLineEdit* passwordField() const { return password_; }
    QPushButton* openButton() const { return open_; }
    QLineEdit* accessField(int index) const { return access_[index]; }
    QGroupBox* settingGroup() const { return settingGroup_; }
    QLineEdit* currentField() const { return current_; }
    QLineEdit* newField() const { return new_; }
    QLineEdit* againField() const { return again_; }
    QPushButton* setButton() const { return set_; }
    QCheckBox* telBox() const { return tel_; }

    // "設定".
    void setPassword();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void enableChangeFields(bool on);

    platform::Settings& settings_;
    QLineEdit* password_;
    QPushButton* open_;
    QLineEdit* access_[3];
    QGroupBox* settingGroup_;
    QLineEdit* current_;
    QLineEdit* new_;
    QLineEdit* again_;
    QPushButton* set_;
    QCheckBox* tel_;
};

}  // namespace hinagiku::core
