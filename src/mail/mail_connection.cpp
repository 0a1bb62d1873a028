#include "mail/mail_connection.h"

#include <QCryptographicHash>
#include <QSslConfiguration>

namespace hinagiku::mail {
namespace {

constexpr qint64 kReadBufferBytes = 64 * 1024;

}  // namespace

std::string certificateFingerprint(const QSslCertificate& certificate) {
    return certificate.digest(QCryptographicHash::Sha256).toHex().toStdString();
}

MailConnection::MailConnection(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this,
            [this] { fail(ConnectionFailure::Timeout, QStringLiteral("timeout")); });
}

MailConnection::~MailConnection() {
    abort();
}

void MailConnection::open(const std::string& host, std::uint16_t port, TlsMode mode,
                          const std::string& pin) {
    abort();
    ++generation_;
    host_ = host;
    pin_ = pin;
    mode_ = mode;
    fingerprint_.clear();
    unverified_ = false;
    handshaking_ = false;
    connected_ = false;
    done_ = false;
    reader_.reset();

    auto* socket = new QSslSocket(this);
    socket_ = socket;
    socket->setReadBufferSize(kReadBufferBytes);
    connect(socket, &QSslSocket::readyRead, this, &MailConnection::onReadyRead);
    connect(socket, &QAbstractSocket::errorOccurred, this, &MailConnection::onError);
    connect(socket, &QSslSocket::sslErrors, this, &MailConnection::onSslErrors);
    connect(socket, &QSslSocket::encrypted, this, &MailConnection::onEncrypted);
    connect(socket, &QAbstractSocket::disconnected, this, &MailConnection::onDisconnected);
    connect(socket, &QAbstractSocket::connected, this, [this] {
        connected_ = true;
        if (mode_ != TlsMode::Implicit)
            emit ready();
    });
    timeout_.start(options_.timeoutMilliseconds);
    if (mode == TlsMode::Implicit) {
        prepareTls();
        handshaking_ = true;
        socket->connectToHostEncrypted(QString::fromStdString(host), port);
    } else {
        socket->connectToHost(QString::fromStdString(host), port);
    }
}

void MailConnection::prepareTls() {
    QSslConfiguration config = socket_->sslConfiguration();
    if (!options_.extraAuthorities.isEmpty()) {
        QList<QSslCertificate> all = QSslConfiguration::systemCaCertificates();
        all.append(options_.extraAuthorities);
        config.setCaCertificates(all);
    }
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket_->setSslConfiguration(config);
    socket_->setPeerVerifyName(QString::fromStdString(host_));
}

void MailConnection::startTls() {
    if (!socket_ || done_)
        return;
    prepareTls();
    handshaking_ = true;
    socket_->startClientEncryption();
}

void MailConnection::sendLine(std::string_view line) {
    std::string bytes(line);
    bytes += "\r\n";
    sendRaw(bytes);
}

void MailConnection::sendRaw(std::string_view bytes) {
    if (socket_ && connected_ && !done_)
        socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void MailConnection::close() {
    if (socket_ && !done_)
        socket_->disconnectFromHost();
}

void MailConnection::abort() {
    done_ = true;
    timeout_.stop();
    if (socket_) {
        QSslSocket* s = socket_;
        socket_ = nullptr;
        s->disconnect(this);
        s->abort();
        s->deleteLater();
    }
    connected_ = false;
}

bool MailConnection::isConnected() const {
    return socket_ && connected_ && socket_->state() == QAbstractSocket::ConnectedState;
}

bool MailConnection::isEncrypted() const {
    return socket_ && socket_->isEncrypted();
}

void MailConnection::onReadyRead() {
    // A receiver may end this conversation and start the next one while the
    // lines of this read are handed out: the rest of them then belong to
    // nobody.
    const unsigned generation = generation_;
    char buffer[16384];
    while (socket_ && !done_ && socket_->bytesAvailable() > 0) {
        const qint64 n = socket_->read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        std::vector<std::string> lines;
        reader_.feed(std::string_view(buffer, static_cast<std::size_t>(n)), lines);
        for (const std::string& line : lines) {
            if (done_ || generation != generation_)
                return;
            emit lineReceived(line);
        }
        if (generation != generation_)
            return;
    }
}

void MailConnection::onSslErrors(const QList<QSslError>& errors) {
    if (!socket_)
        return;
    unverified_ = true;
    const QSslCertificate peer = socket_->peerCertificate();
    if (!peer.isNull())
        fingerprint_ = certificateFingerprint(peer);
    if (!pin_.empty() && fingerprint_ == pin_) {
        socket_->ignoreSslErrors(errors);
    }
}

void MailConnection::onEncrypted() {
    if (!socket_)
        return;
    handshaking_ = false;
    fingerprint_ = certificateFingerprint(socket_->peerCertificate());
    if (mode_ == TlsMode::Implicit)
        emit ready();
    else
        emit tlsReady();
}

void MailConnection::onError(QAbstractSocket::SocketError error) {
    if (done_ || !socket_)
        return;
    if (error == QAbstractSocket::RemoteHostClosedError && !handshaking_) {
        // Lines still buffered come first; disconnected() reports the end.
        onReadyRead();
        return;
    }
    const QString detail = socket_->errorString();
    if (handshaking_ || error == QAbstractSocket::SslHandshakeFailedError ||
        error == QAbstractSocket::SslInvalidUserDataError ||
        error == QAbstractSocket::SslInternalError)
        fail(ConnectionFailure::Tls, detail);
    else if (!connected_)
        fail(ConnectionFailure::Connect, detail);
    else
        fail(ConnectionFailure::Lost, detail);
}

void MailConnection::onDisconnected() {
    if (done_)
        return;
    onReadyRead();
    if (done_)
        return;
    if (handshaking_) {
        fail(ConnectionFailure::Tls, QStringLiteral("connection closed during the handshake"));
        return;
    }
    abort();
    emit closed();
}

void MailConnection::fail(ConnectionFailure failure, const QString& detail) {
    if (done_)
        return;
    abort();
    emit failed(failure, detail);
}

}  // namespace hinagiku::mail
