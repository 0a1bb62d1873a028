#pragma once

#include <QObject>

#include <deque>
#include <string>
#include <vector>

#include "mail/mail_connection.h"
#include "mail/mail_settings.h"

namespace hinagiku::mail {

// Where an SMTP conversation ended: Sent, or the step that failed.
enum class SmtpState {
    Sent,
    Disabled,
    Settings,
    Connect,
    Tls,
    Greeting,
    Helo,
    Auth,
    Mail,
    Rcpt,
    Data,
    Message,
    Timeout,
};
const char* smtpStateName(SmtpState state);

struct SmtpResult {
    SmtpState state = SmtpState::Settings;
    std::string lastReply;    // the final line of the last reply (printable)
    std::string detail;       // the socket's or the settings' explanation
    std::string fingerprint;  // the server certificate's SHA-256, when TLS was used
    bool unverified = false;
};

// One outgoing mail: envelope and the message as DATA carries it.
struct OutgoingMail {
    SmtpConfig config;
    std::string message;  // CR LF lines, dots doubled, without the final "."
    // A connection test: greeting, hello, TLS and AUTH, then QUIT; Sent
    // means all of that worked. No mail is sent.
    bool probeOnly = false;
};

// Reminder mails over SMTP (RFC 5321). Plain: HELO; STARTTLS (RFC 3207) or
// TLS from the first byte (RFC 8314): EHLO, then AUTH PLAIN or LOGIN when a
// user is set (only over TLS). A negative reply ends the conversation, QUIT
// still sent while connected. A mail asked for while one is under way waits
// its turn.
class SmtpClient : public QObject {
    Q_OBJECT

  public:
    explicit SmtpClient(QObject* parent = nullptr);

    MailConnection& connection() { return connection_; }
    // The local host name for HELO / EHLO (default: the system's).
    void setHeloName(std::string name) { heloName_ = std::move(name); }

    void send(OutgoingMail mail);
    bool busy() const { return busy_; }
    std::size_t queued() const { return queue_.size(); }

  signals:
    void finished(const hinagiku::mail::SmtpResult& result);

  private:
    enum class Phase {
        Idle,
        Greeting,
        Ehlo,
        StartTls,
        Handshake,
        Ehlo2,
        Helo,
        AuthPlain,
        AuthLogin,
        AuthUser,
        AuthPass,
        Mail,
        Rcpt,
        Data,
        Message,
        Quit,
    };
    void startNext();
    void onLine(const std::string& line);
    void onFailed(ConnectionFailure failure, const QString& detail);
    void afterHello();
    void sendMailFrom();
    void failStep(SmtpState state);
    void finish();

    MailConnection connection_;
    std::deque<OutgoingMail> queue_;
    OutgoingMail current_;
    SmtpResult result_;
    Phase phase_ = Phase::Idle;
    std::vector<std::string> replyLines_;  // lines of the reply being read
    std::string heloName_;
    bool busy_ = false;
    bool ended_ = false;
};

}  // namespace hinagiku::mail
