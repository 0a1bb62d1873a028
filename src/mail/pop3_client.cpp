#include "mail/pop3_client.h"

#include <QTimer>

namespace hinagiku::mail {

const char* pop3StateName(Pop3State state) {
    switch (state) {
        case Pop3State::Ok:
            return "ok";
        case Pop3State::Settings:
            return "settings";
        case Pop3State::Connect:
            return "connect";
        case Pop3State::Tls:
            return "tls";
        case Pop3State::Greeting:
            return "greeting";
        case Pop3State::User:
            return "user";
        case Pop3State::Pass:
            return "pass";
        case Pop3State::Stat:
            return "stat";
        case Pop3State::Timeout:
            return "timeout";
    }
    return "settings";
}

Pop3Client::Pop3Client(QObject* parent) : QObject(parent) {
    connect(&connection_, &MailConnection::ready, this, &Pop3Client::onReady);
    connect(&connection_, &MailConnection::tlsReady, this, [this] {
        phase_ = Phase::User;
        connection_.sendLine("USER " + std::string(trimControls(account_.user)));
    });
    connect(&connection_, &MailConnection::lineReceived, this, &Pop3Client::onLine);
    connect(&connection_, &MailConnection::failed, this, &Pop3Client::onFailed);
    connect(&connection_, &MailConnection::closed, this, [this] {
        if (!ended_) {
            // Closed by the server in the middle: the step waiting failed.
            onFailed(ConnectionFailure::Lost, QStringLiteral("connection closed"));
            return;
        }
        finish();
    });
}

void Pop3Client::start(const Pop3Account& account) {
    connection_.abort();
    account_ = account;
    result_ = {};
    count_ = 0;
    busy_ = true;
    ended_ = false;
    phase_ = Phase::Idle;

    const auto port = portNumber(account.port, account.tls, 110, 995);
    const std::string_view user = trimControls(account.user);
    const std::string_view password = trimControls(account.password);
    std::string problem;
    if (account.server.empty() || hasControlCharacter(account.server))
        problem = "no server";
    else if (!port)
        problem = "bad port";
    else if (hasControlCharacter(user) || hasControlCharacter(password))
        problem = "control character in the user name or password";
    if (!problem.empty()) {
        result_.state = Pop3State::Settings;
        result_.detail = problem;
        ended_ = true;
        QTimer::singleShot(0, this, [this] { finish(); });
        return;
    }
    phase_ = Phase::Greeting;
    connection_.open(account.server, *port, account.tls, account.pin);
}

void Pop3Client::onReady() {
    // The greeting comes as the first line.
}

void Pop3Client::onLine(const std::string& line) {
    if (phase_ != Phase::Quit)
        result_.lastReply = printableReply(line);
    const bool positive = isPositivePop3(line);
    switch (phase_) {
        case Phase::Greeting:
            if (!positive)
                return failStep(Pop3State::Greeting);
            if (account_.tls == TlsMode::StartTls) {
                phase_ = Phase::Stls;
                connection_.sendLine("STLS");
            } else {
                phase_ = Phase::User;
                connection_.sendLine("USER " + std::string(trimControls(account_.user)));
            }
            return;
        case Phase::Stls:
            if (!positive)
                return failStep(Pop3State::Tls);
            phase_ = Phase::Handshake;
            connection_.startTls();
            return;
        case Phase::User:
            if (!positive)
                return failStep(Pop3State::User);
            phase_ = Phase::Pass;
            connection_.sendLine("PASS " + std::string(trimControls(account_.password)));
            return;
        case Phase::Pass:
            if (!positive)
                return failStep(Pop3State::Pass);
            phase_ = Phase::Stat;
            connection_.sendLine("STAT");
            return;
        case Phase::Stat:
            if (!positive)
                return failStep(Pop3State::Stat);
            result_.stat = parseStat(line);
            result_.state = Pop3State::Ok;
            count_ = result_.stat.count;
            ended_ = true;
            phase_ = Phase::Quit;
            connection_.sendLine("QUIT");
            return;
        case Phase::Quit:
            phase_ = Phase::Idle;
            connection_.close();
            return;
        case Phase::Idle:
        case Phase::Handshake:
            return;
    }
}

void Pop3Client::failStep(Pop3State state) {
    result_.state = state;
    ended_ = true;
    phase_ = Phase::Quit;
    connection_.sendLine("QUIT");
}

void Pop3Client::onFailed(ConnectionFailure failure, const QString& detail) {
    result_.detail = detail.toStdString();
    result_.fingerprint = connection_.peerFingerprint();
    result_.unverified = connection_.certificateUnverified();
    if (!ended_) {
        switch (failure) {
            case ConnectionFailure::Connect:
                result_.state = Pop3State::Connect;
                break;
            case ConnectionFailure::Tls:
                result_.state = Pop3State::Tls;
                break;
            case ConnectionFailure::Timeout:
                result_.state = Pop3State::Timeout;
                break;
            case ConnectionFailure::Lost:
                switch (phase_) {
                    case Phase::Stls:
                    case Phase::Handshake:
                        result_.state = Pop3State::Tls;
                        break;
                    case Phase::User:
                        result_.state = Pop3State::User;
                        break;
                    case Phase::Pass:
                        result_.state = Pop3State::Pass;
                        break;
                    case Phase::Stat:
                        result_.state = Pop3State::Stat;
                        break;
                    default:
                        result_.state = Pop3State::Greeting;
                        break;
                }
                break;
        }
    }
    ended_ = true;
    finish();
}

void Pop3Client::finish() {
    if (!busy_)
        return;
    if (result_.fingerprint.empty())
        result_.fingerprint = connection_.peerFingerprint();
    result_.unverified = result_.unverified || connection_.certificateUnverified();
    connection_.abort();
    phase_ = Phase::Idle;
    busy_ = false;
    if (result_.state != Pop3State::Ok)
        result_.stat = {};
    emit finished(result_);
}

}  // namespace hinagiku::mail
