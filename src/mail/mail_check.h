#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "mail/mail_connection.h"
#include "mail/pop3_client.h"
#include "platform/settings.h"

namespace hinagiku::mail {

// Colours of the main window's date, time and resource panels during a check.
enum class PanelColor { Black, Maroon, Navy, Green, Grey };

// What became of one checked account.
struct AccountOutcome {
    int number = 1;
    Pop3State state = Pop3State::Settings;  // Timeout also when the wait ended first
    StatValues stat;
    std::string text;  // the result text (empty without mail)
};

// Who asked for a check: the main timer's countdown or a menu.
enum class CheckOrigin { Tick, Menu };

// One check of the enabled accounts as a state machine on the event loop:
// each account in turn gets its panel colour and its wait (3000, 3000,
// 2000 ms), which ends early when its conversation ends. A check asked for
// while one runs or a conversation is still open only flashes the panels
// grey for 1000 ms.
class MailCheck : public QObject {
    Q_OBJECT

  public:
    struct Options {
        std::array<int, 3> waitMilliseconds{3000, 3000, 2000};
        int flashMilliseconds = 1000;
        MailConnection::Options connection;
    };

    MailCheck(platform::Settings& settings, Options options, QObject* parent = nullptr);
    explicit MailCheck(platform::Settings& settings, QObject* parent = nullptr);
    ~MailCheck() override;

    void setOptions(Options options);
    // mailcheckClick. Returns at once; checked() or (on the grey path)
    // flashed() follows.
    void run(CheckOrigin origin);
    bool running() const { return running_; }
    bool anyConversationOpen() const;
    Pop3Client& client(int number) { return *clients_.at(static_cast<std::size_t>(number - 1)); }

  signals:
    void panelsChanged(hinagiku::mail::PanelColor color);
    // The check ended: one outcome per checked account, the three result
    // texts (empty where nothing), and the countdown to set, [pop] min.
    void checked(const std::vector<hinagiku::mail::AccountOutcome>& outcomes,
                 const std::array<std::string, 3>& texts, int countdownMinutes);
    // The grey path ended. For a periodic check `retryCountdown` is the
    // countdown that retries at the next minute; for a menu check -1 (leave
    // the countdown alone).
    void flashed(int retryCountdown);

  private:
    void nextAccount();
    void concludeAccount();
    void finishCheck();
    PanelColor currentColor() const;

    platform::Settings& settings_;
    Options options_;
    std::array<std::unique_ptr<Pop3Client>, 3> clients_;
    QTimer wait_;
    bool running_ = false;
    int index_ = -1;  // account being waited for (0..2)
    int flashes_ = 0;
    std::vector<AccountOutcome> outcomes_;
    std::array<std::string, 3> texts_;
};

}  // namespace hinagiku::mail
