#pragma once

#include <QObject>

#include <string>

#include "mail/mail_connection.h"
#include "mail/mail_settings.h"
#include "mail/replies.h"

namespace hinagiku::mail {

// Where a POP3 conversation ended: Ok, or the step that failed.
enum class Pop3State { Ok, Settings, Connect, Tls, Greeting, User, Pass, Stat, Timeout };
const char* pop3StateName(Pop3State state);

struct Pop3Result {
    Pop3State state = Pop3State::Settings;
    StatValues stat;          // 0 0 unless Ok
    std::string lastReply;    // the last line the server sent (printable)
    std::string detail;       // the socket's or the settings' explanation
    std::string fingerprint;  // the server certificate's SHA-256, when TLS was used
    bool unverified = false;  // the certificate failed verification
};

// One account's POP3 conversation (RFC 1939): greeting, [STLS,] USER, PASS,
// STAT, QUIT. A negative reply ends it, QUIT still sent while connected.
class Pop3Client : public QObject {
    Q_OBJECT

  public:
    explicit Pop3Client(QObject* parent = nullptr);

    MailConnection& connection() { return connection_; }

    // Starts the conversation without waiting for it; the message count is
    // reset to 0. finished() always follows (also for bad settings, from the
    // event loop).
    void start(const Pop3Account& account);
    // A conversation is under way (from start() until finished()).
    bool busy() const { return busy_; }
    long long messageCount() const { return count_; }
    void resetCount() { count_ = 0; }
    const Pop3Result& lastResult() const { return result_; }
    // The outcome is known (STAT answered or a step failed) though the
    // connection may still be closing.
    bool decided() const { return ended_; }

  signals:
    void finished(const hinagiku::mail::Pop3Result& result);

  private:
    enum class Phase { Idle, Greeting, Stls, Handshake, User, Pass, Stat, Quit };
    void onReady();
    void onLine(const std::string& line);
    void onFailed(ConnectionFailure failure, const QString& detail);
    void failStep(Pop3State state);
    void finish();

    MailConnection connection_;
    Phase phase_ = Phase::Idle;
    Pop3Account account_;
    Pop3Result result_;
    bool busy_ = false;
    bool ended_ = false;  // the state is decided; waiting for the connection to close
    long long count_ = 0;
};

}  // namespace hinagiku::mail
