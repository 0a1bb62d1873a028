#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <string>

#include "mail/mail_check.h"
#include "mail/smtp_client.h"
#include "mail/ui/mail_result_window.h"
#include "mail/ui/mail_settings_window.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::mail {

// The mail part of the program as the main window sees it: the check with
// its result window, the settings window and the reminder mail.
class MailTool : public QObject {
    Q_OBJECT

  public:
    struct Hooks {
        // The main window's date, time and resource panels.
        std::function<void(PanelColor color)> setPanels;
        // PopupTimer::setMailCountdown.
        std::function<void(int minutes)> setCountdown;
        // Start the mail program (the main window's, which adds a minute).
        std::function<void()> startMailer;
    };

    MailTool(platform::Settings& settings, const platform::Clock& clock, Hooks hooks,
             MailCheck::Options options = {}, QObject* parent = nullptr);
    ~MailTool() override;

    // mailcheckClick from a menu or the result window; from the main timer.
    void checkFromMenu();
    void checkFromTick();
    // Brings the settings window to the front, or creates and shows it.
    void openSettings();
    bool settingsOpen() const { return !settingsWindow_.isNull(); }
    // The reminder mail of a presented popup; returns at once. A mail asked
    // for while one is under way waits its turn.
    void sendReminderMail(const std::string& text, const std::string& dateText);

    MailCheck& check() { return check_; }
    SmtpClient& smtp() { return smtp_; }
    MailResultWindow* resultWindow() const { return resultWindow_; }
    MailSettingsWindow* settingsWindow() const { return settingsWindow_; }

  private:
    void showResults(const std::array<std::string, 3>& texts);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    Hooks hooks_;
    MailCheck check_;
    SmtpClient smtp_;
    QPointer<MailResultWindow> resultWindow_;
    QPointer<MailSettingsWindow> settingsWindow_;
};

}  // namespace hinagiku::mail
