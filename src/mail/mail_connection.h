#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTimer>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail/mail_settings.h"
#include "mail/reply_line_reader.h"

namespace hinagiku::mail {

enum class ConnectionFailure {
    Connect,  // host not found, refused, unreachable
    Tls,      // handshake failed or the certificate was not trusted nor pinned
    Lost,     // the server closed or the connection broke
    Timeout,  // the conversation's time ran out
};

// One line-oriented client connection driven by the socket's signals on the
// calling thread (no waiting calls, no threads). The socket's read buffer is
// bounded and reply lines go through a ReplyLineReader.
class MailConnection : public QObject {
    Q_OBJECT

  public:
    struct Options {
        // The whole conversation ends this long after open().
        int timeoutMilliseconds = 60000;
        // Trusted besides the system store (tests' own authority).
        QList<QSslCertificate> extraAuthorities;
    };

    explicit MailConnection(QObject* parent = nullptr);
    ~MailConnection() override;

    void setOptions(Options options) { options_ = std::move(options); }
    const Options& options() const { return options_; }

    // Starts a connection; ready() follows once lines can be exchanged (for
    // Implicit after the handshake). `pin`: normalised SHA-256 that makes an
    // unverifiable certificate acceptable (empty: none).
    void open(const std::string& host, std::uint16_t port, TlsMode mode, const std::string& pin);
    // The STARTTLS / STLS handshake on the open connection; tlsReady() follows.
    void startTls();
    void sendLine(std::string_view line);
    void sendRaw(std::string_view bytes);
    // Closes after the pending output; closed() follows.
    void close();
    // Ends at once without signals.
    void abort();

    bool isConnected() const;
    bool isEncrypted() const;
    // SHA-256 of the server's certificate (64 lowercase hex digits), once seen.
    const std::string& peerFingerprint() const { return fingerprint_; }
    // Whether the certificate failed verification (whether or not pinned).
    bool certificateUnverified() const { return unverified_; }

  signals:
    void ready();
    void tlsReady();
    void lineReceived(const std::string& line);
    void failed(hinagiku::mail::ConnectionFailure failure, const QString& detail);
    void closed();

  private:
    void onReadyRead();
    void onError(QAbstractSocket::SocketError error);
    void onSslErrors(const QList<QSslError>& errors);
    void onEncrypted();
    void onDisconnected();
    void fail(ConnectionFailure failure, const QString& detail);
    void prepareTls();

    Options options_;
    QPointer<QSslSocket> socket_;
    QTimer timeout_;
    ReplyLineReader reader_;
    unsigned generation_ = 0;  // one per open(): lines of an earlier one are dropped
    std::string host_;
    std::string pin_;
    std::string fingerprint_;
    TlsMode mode_ = TlsMode::Plain;
    bool handshaking_ = false;
    bool connected_ = false;
    bool done_ = true;
    bool unverified_ = false;
};

// SHA-256 of a certificate's DER form, 64 lowercase hex digits.
std::string certificateFingerprint(const QSslCertificate& certificate);

}  // namespace hinagiku::mail
