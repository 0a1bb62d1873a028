#include "mail/smtp_client.h"

#include <QByteArray>
#include <QHostInfo>
#include <QTimer>

#include "mail/reminder_message.h"
#include "mail/replies.h"

namespace hinagiku::mail {
namespace {

std::string base64(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64().toStdString();
}

std::string upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// The mechanisms an EHLO reply offers on its "AUTH" line.
std::vector<std::string> authMechanisms(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (line.size() < 4)
            continue;
        const std::string words = upper(line.substr(4));
        if (words.rfind("AUTH ", 0) != 0 && words.rfind("AUTH=", 0) != 0)
            continue;
        std::size_t pos = 5;
        while (pos < words.size()) {
            const std::size_t end = words.find(' ', pos);
            const std::string word = words.substr(pos, end - pos);
            if (!word.empty())
                out.push_back(word);
            if (end == std::string::npos)
                break;
            pos = end + 1;
        }
    }
    return out;
}

bool contains(const std::vector<std::string>& list, std::string_view word) {
    for (const auto& w : list) {
        if (w == word)
            return true;
    }
    return false;
}

}  // namespace

const char* smtpStateName(SmtpState state) {
    switch (state) {
        case SmtpState::Sent:
            return "sent";
        case SmtpState::Disabled:
            return "disabled";
        case SmtpState::Settings:
            return "settings";
        case SmtpState::Connect:
            return "connect";
        case SmtpState::Tls:
            return "tls";
        case SmtpState::Greeting:
            return "greeting";
        case SmtpState::Helo:
            return "helo";
        case SmtpState::Auth:
            return "auth";
        case SmtpState::Mail:
            return "mail";
        case SmtpState::Rcpt:
            return "rcpt";
        case SmtpState::Data:
            return "data";
        case SmtpState::Message:
            return "message";
        case SmtpState::Timeout:
            return "timeout";
    }
    return "settings";
}

SmtpClient::SmtpClient(QObject* parent) : QObject(parent) {
    connect(&connection_, &MailConnection::lineReceived, this, &SmtpClient::onLine);
    connect(&connection_, &MailConnection::failed, this, &SmtpClient::onFailed);
    connect(&connection_, &MailConnection::tlsReady, this, [this] {
        phase_ = Phase::Ehlo2;
        connection_.sendLine("EHLO " + heloName_);
    });
    connect(&connection_, &MailConnection::closed, this, [this] {
        if (!ended_) {
            onFailed(ConnectionFailure::Lost, QStringLiteral("connection closed"));
            return;
        }
        finish();
    });
}

void SmtpClient::send(OutgoingMail mail) {
    queue_.push_back(std::move(mail));
    if (!busy_)
        startNext();
}

void SmtpClient::startNext() {
    if (queue_.empty())
        return;
    current_ = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    ended_ = false;
    result_ = {};
    replyLines_.clear();
    phase_ = Phase::Idle;
    if (heloName_.empty()) {
        heloName_ = QHostInfo::localHostName().toStdString();
        if (heloName_.empty())
            heloName_ = "localhost";
    }

    const SmtpConfig& c = current_.config;
    const auto port = portNumber(c.port, c.tls, 25, 465);
    std::string problem;
    if (c.server.empty() || hasControlCharacter(c.server))
        problem = "no server";
    else if (!port)
        problem = "bad port";
    else if (hasControlCharacter(c.from) || hasControlCharacter(c.to))
        problem = "control character in an address";
    else if (!current_.probeOnly && !isSendableAddress(envelopeAddress(c.to), false))
        problem = "no usable recipient address";
    else if (!isSendableAddress(envelopeAddress(c.from), true))
        problem = "no usable sender address";
    else if (!trimControls(c.user).empty() && c.tls == TlsMode::Plain)
        problem = "authentication needs TLS";
    else if (hasControlCharacter(trimControls(c.user)) ||
             hasControlCharacter(trimControls(c.password)))
        problem = "control character in the user name or password";
    if (!problem.empty()) {
        result_.state = SmtpState::Settings;
        result_.detail = problem;
        ended_ = true;
        QTimer::singleShot(0, this, [this] { finish(); });
        return;
    }
    phase_ = Phase::Greeting;
    connection_.open(c.server, *port, c.tls, c.pin);
}

void SmtpClient::onLine(const std::string& line) {
    const SmtpReplyLine reply = parseSmtpLine(line);
    replyLines_.push_back(line);
    if (reply.continues)
        return;
    // The reply that decided the outcome stays; QUIT's adds nothing.
    if (phase_ != Phase::Quit)
        result_.lastReply = printableReply(line);
    const std::vector<std::string> lines = std::move(replyLines_);
    replyLines_.clear();
    const int code = reply.code;
    const SmtpConfig& c = current_.config;
    switch (phase_) {
        case Phase::Greeting:
            if (code != 220)
                return failStep(SmtpState::Greeting);
            if (c.tls == TlsMode::Plain) {
                phase_ = Phase::Helo;
                connection_.sendLine("HELO " + heloName_);
            } else {
                phase_ = Phase::Ehlo;
                connection_.sendLine("EHLO " + heloName_);
            }
            return;
        case Phase::Helo:
            if (code != 250)
                return failStep(SmtpState::Helo);
            return sendMailFrom();
        case Phase::Ehlo:
            if (code != 250)
                return failStep(SmtpState::Helo);
            if (c.tls == TlsMode::StartTls) {
                phase_ = Phase::StartTls;
                connection_.sendLine("STARTTLS");
                return;
            }
            replyLines_ = lines;
            return afterHello();
        case Phase::StartTls:
            if (code != 220)
                return failStep(SmtpState::Tls);
            phase_ = Phase::Handshake;
            connection_.startTls();
            return;
        case Phase::Ehlo2:
            if (code != 250)
                return failStep(SmtpState::Helo);
            replyLines_ = lines;
            return afterHello();
        case Phase::AuthPlain:
            if (code != 235)
                return failStep(SmtpState::Auth);
            return sendMailFrom();
        case Phase::AuthLogin:
            if (code != 334)
                return failStep(SmtpState::Auth);
            phase_ = Phase::AuthUser;
            connection_.sendLine(base64(trimControls(c.user)));
            return;
        case Phase::AuthUser:
            if (code != 334)
                return failStep(SmtpState::Auth);
            phase_ = Phase::AuthPass;
            connection_.sendLine(base64(trimControls(c.password)));
            return;
        case Phase::AuthPass:
            if (code != 235)
                return failStep(SmtpState::Auth);
            return sendMailFrom();
        case Phase::Mail:
            if (code != 250)
                return failStep(SmtpState::Mail);
            phase_ = Phase::Rcpt;
            connection_.sendLine("RCPT TO:<" + envelopeAddress(c.to) + ">");
            return;
        case Phase::Rcpt:
            if (code != 250 && code != 251)
                return failStep(SmtpState::Rcpt);
            phase_ = Phase::Data;
            connection_.sendLine("DATA");
            return;
        case Phase::Data:
            if (code != 354)
                return failStep(SmtpState::Data);
            phase_ = Phase::Message;
            connection_.sendRaw(current_.message);
            connection_.sendRaw(".\r\n");
            return;
        case Phase::Message:
            if (code != 250)
                return failStep(SmtpState::Message);
            result_.state = SmtpState::Sent;
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

void SmtpClient::afterHello() {
    const std::vector<std::string> lines = std::move(replyLines_);
    replyLines_.clear();
    const SmtpConfig& c = current_.config;
    const std::string_view user = trimControls(c.user);
    if (user.empty())
        return sendMailFrom();
    const std::vector<std::string> mechanisms = authMechanisms(lines);
    if (contains(mechanisms, "PLAIN") || !contains(mechanisms, "LOGIN")) {
        phase_ = Phase::AuthPlain;
        std::string token;
        token.push_back('\0');
        token += user;
        token.push_back('\0');
        token += trimControls(c.password);
        connection_.sendLine("AUTH PLAIN " + base64(token));
    } else {
        phase_ = Phase::AuthLogin;
        connection_.sendLine("AUTH LOGIN");
    }
}

void SmtpClient::sendMailFrom() {
    if (current_.probeOnly) {
        result_.state = SmtpState::Sent;
        ended_ = true;
        phase_ = Phase::Quit;
        connection_.sendLine("QUIT");
        return;
    }
    phase_ = Phase::Mail;
    connection_.sendLine("MAIL FROM:<" + envelopeAddress(current_.config.from) + ">");
}

void SmtpClient::failStep(SmtpState state) {
    result_.state = state;
    ended_ = true;
    phase_ = Phase::Quit;
    connection_.sendLine("QUIT");
}

void SmtpClient::onFailed(ConnectionFailure failure, const QString& detail) {
    result_.detail = detail.toStdString();
    if (!ended_) {
        switch (failure) {
            case ConnectionFailure::Connect:
                result_.state = SmtpState::Connect;
                break;
            case ConnectionFailure::Tls:
                result_.state = SmtpState::Tls;
                break;
            case ConnectionFailure::Timeout:
                result_.state = SmtpState::Timeout;
                break;
            case ConnectionFailure::Lost:
                switch (phase_) {
                    case Phase::Greeting:
                    case Phase::Idle:
                        result_.state = SmtpState::Greeting;
                        break;
                    case Phase::Ehlo:
                    case Phase::Ehlo2:
                    case Phase::Helo:
                        result_.state = SmtpState::Helo;
                        break;
                    case Phase::StartTls:
                    case Phase::Handshake:
                        result_.state = SmtpState::Tls;
                        break;
                    case Phase::AuthPlain:
                    case Phase::AuthLogin:
                    case Phase::AuthUser:
                    case Phase::AuthPass:
                        result_.state = SmtpState::Auth;
                        break;
                    case Phase::Mail:
                        result_.state = SmtpState::Mail;
                        break;
                    case Phase::Rcpt:
                        result_.state = SmtpState::Rcpt;
                        break;
                    case Phase::Data:
                        result_.state = SmtpState::Data;
                        break;
                    case Phase::Message:
                    case Phase::Quit:
                        result_.state = SmtpState::Message;
                        break;
                }
                break;
        }
    }
    ended_ = true;
    finish();
}

void SmtpClient::finish() {
    if (!busy_)
        return;
    result_.fingerprint = connection_.peerFingerprint();
    result_.unverified = connection_.certificateUnverified();
    connection_.abort();
    phase_ = Phase::Idle;
    busy_ = false;
    const SmtpResult result = result_;
    emit finished(result);
    if (!busy_ && !queue_.empty())
        QTimer::singleShot(0, this, [this] {
            if (!busy_)
                startNext();
        });
}

}  // namespace hinagiku::mail
