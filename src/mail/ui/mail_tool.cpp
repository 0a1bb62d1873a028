#include "mail/ui/mail_tool.h"

#include "mail/mail_log.h"
#include "mail/reminder_mail.h"

namespace hinagiku::mail {

MailTool::MailTool(platform::Settings& settings, const platform::Clock& clock, Hooks hooks,
                   MailCheck::Options options, QObject* parent)
    : QObject(parent),
      settings_(settings),
      clock_(clock),
      hooks_(std::move(hooks)),
      check_(settings, std::move(options)) {
    connect(&check_, &MailCheck::panelsChanged, this, [this](PanelColor color) {
        if (hooks_.setPanels)
            hooks_.setPanels(color);
    });
    connect(&check_, &MailCheck::checked, this,
            [this](const std::vector<AccountOutcome>&, const std::array<std::string, 3>& texts,
                   int countdown) {
                showResults(texts);
                if (hooks_.setCountdown)
                    hooks_.setCountdown(countdown);
                if (settingsWindow_)
                    settingsWindow_->refreshOutcomes();
            });
    connect(&check_, &MailCheck::flashed, this, [this](int retry) {
        if (retry >= 0 && hooks_.setCountdown)
            hooks_.setCountdown(retry);
    });
    connect(&smtp_, &SmtpClient::finished, this, [this](const SmtpResult& result) {
        logSmtpOutcome(result);
        if (settingsWindow_)
            settingsWindow_->refreshOutcomes();
    });
}

MailTool::~MailTool() {
    // Windows still open go without their close handling.
    delete resultWindow_.data();
    delete settingsWindow_.data();
}

void MailTool::checkFromMenu() {
    check_.run(CheckOrigin::Menu);
}

void MailTool::checkFromTick() {
    check_.run(CheckOrigin::Tick);
}

void MailTool::showResults(const std::array<std::string, 3>& texts) {
    const bool any = !(texts[0] + texts[1] + texts[2]).empty();
    if (!any) {
        if (resultWindow_)
            resultWindow_->close();
        return;
    }
    if (!resultWindow_) {
        MailResultWindow::Actions actions;
        actions.checkMail = [this] { checkFromMenu(); };
        actions.startMailer = [this] {
            if (hooks_.startMailer)
                hooks_.startMailer();
        };
        actions.openSettings = [this] { openSettings(); };
        resultWindow_ = new MailResultWindow(settings_, std::move(actions));
    }
    resultWindow_->setTexts(texts);
    resultWindow_->repaint();
    resultWindow_->show();
}

void MailTool::openSettings() {
    if (settingsWindow_) {
        settingsWindow_->raise();
        settingsWindow_->activateWindow();
        return;
    }
    settingsWindow_ = new MailSettingsWindow(settings_);
    settingsWindow_->show();
}

void MailTool::sendReminderMail(const std::string& text, const std::string& dateText) {
    smtp_.send(makeReminderMail(settings_, clock_, dateText, text));
}

}  // namespace hinagiku::mail
