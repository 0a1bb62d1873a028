#include "platform/system_echo_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace hinagiku::platform {
namespace {

constexpr int kDataBytes = 56;
constexpr int kTtl = 64;

// The echo data: a fixed text padded with spaces to 56 bytes.
std::array<char, kDataBytes> echoData() {
    std::array<char, kDataBytes> data{};
    data.fill(' ');
    const char text[] = "Hinagiku echo request";
    std::memcpy(data.data(), text, sizeof text - 1);
    return data;
}

quint16 checksum(const unsigned char* p, std::size_t n) {
    quint32 sum = 0;
    for (std::size_t i = 0; i + 1 < n; i += 2)
        sum += static_cast<quint32>(p[i] << 8 | p[i + 1]);
    if (n & 1)
        sum += static_cast<quint32>(p[n - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<quint16>(~sum);
}

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

SystemEchoProbe::SystemEchoProbe(QObject* parent) : SystemEchoProbe(Options{}, parent) {}

SystemEchoProbe::SystemEchoProbe(Options options, QObject* parent)
    : EchoProbe(parent), options_(std::move(options)) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        Outcome o;
        o.kind = Outcome::Kind::NoReply;
        o.address = address_;
        o.method = method_;
        finish(o);
    });
}

SystemEchoProbe::~SystemEchoProbe() {
    cancel();
}

void SystemEchoProbe::closeSocket() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void SystemEchoProbe::cancel() {
    ++generation_;
    timeout_.stop();
    closeSocket();
    if (process_) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(200);
        process_.reset();
    }
}

void SystemEchoProbe::finish(Outcome outcome) {
    timeout_.stop();
    closeSocket();
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, outcome, generation] {
            if (generation == generation_)
                emit finished(outcome);
        },
        Qt::QueuedConnection);
}

bool SystemEchoProbe::openSocket(const QHostAddress& address, Method& method, QString& reason) {
    v6_ = address.protocol() == QAbstractSocket::IPv6Protocol;
    const int family = v6_ ? AF_INET6 : AF_INET;
    const int protocol = v6_ ? int{IPPROTO_ICMPV6} : int{IPPROTO_ICMP};
    QStringList reasons;
    for (const Method m : {Method::Datagram, Method::Raw}) {
        if ((m == Method::Datagram && !options_.datagram) || (m == Method::Raw && !options_.raw))
            continue;
        const int type = (m == Method::Datagram ? int{SOCK_DGRAM} : int{SOCK_RAW}) | SOCK_NONBLOCK |
                         SOCK_CLOEXEC;
        const int fd = ::socket(family, type, protocol);
        if (fd < 0) {
            reasons << methodName(m) + QStringLiteral(": ") + errnoText(errno);
            continue;
        }
        const int ttl = kTtl;
        if (v6_) {
            setsockopt(fd, IPPROTO_IPV6, IPV6_UNICAST_HOPS, &ttl, sizeof ttl);
            const int dont = IPV6_PMTUDISC_DONT;
            setsockopt(fd, IPPROTO_IPV6, IPV6_MTU_DISCOVER, &dont, sizeof dont);
        } else {
            setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
            const int dont = IP_PMTUDISC_DONT;  // fragments allowed: no DF flag
            setsockopt(fd, IPPROTO_IP, IP_MTU_DISCOVER, &dont, sizeof dont);
        }
        fd_ = fd;
        method = m;
        return true;
    }
    reason = reasons.join(QStringLiteral("; "));
    return false;
}

void SystemEchoProbe::probe(const QHostAddress& address) {
    cancel();
    address_ = address;
    QString reason;
    if (!openSocket(address, method_, reason)) {
        if (options_.program && !QStandardPaths::findExecutable(options_.pingProgram).isEmpty()) {
            startProgram(address);
            return;
        }
        Outcome o;
        o.kind = Outcome::Kind::Unavailable;
        o.address = address;
        o.method = Method::Program;
        o.reason = reason.isEmpty() ? QStringLiteral("no method allowed") : reason;
        if (options_.program)
            o.reason += QStringLiteral("; ping program not found");
        finish(o);
        return;
    }

    sockaddr_storage to{};
    socklen_t toLength = 0;
    if (v6_) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&to);
        a->sin6_family = AF_INET6;
        const Q_IPV6ADDR raw = address.toIPv6Address();
        std::memcpy(&a->sin6_addr, raw.c, 16);
        a->sin6_scope_id = address.scopeId().toUInt();
        toLength = sizeof *a;
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&to);
        a->sin_family = AF_INET;
        a->sin_addr.s_addr = htonl(address.toIPv4Address());
        toLength = sizeof *a;
    }

    static quint16 counter = 0;
    identifier_ = static_cast<quint16>((::getpid() ^ (++counter << 8)) & 0xFFFF);
    sequence_ = static_cast<quint16>(counter);
    std::array<unsigned char, 8 + kDataBytes> packet{};
    packet[0] = v6_ ? 128 : ICMP_ECHO;
    packet[4] = static_cast<unsigned char>(identifier_ >> 8);
    packet[5] = static_cast<unsigned char>(identifier_ & 0xFF);
    packet[6] = static_cast<unsigned char>(sequence_ >> 8);
    packet[7] = static_cast<unsigned char>(sequence_ & 0xFF);
    const auto data = echoData();
    std::memcpy(packet.data() + 8, data.data(), kDataBytes);
    if (!v6_) {
        const quint16 sum = checksum(packet.data(), packet.size());
        packet[2] = static_cast<unsigned char>(sum >> 8);
        packet[3] = static_cast<unsigned char>(sum & 0xFF);
    }
    if (method_ == Method::Datagram) {
        // The kernel puts the socket's port in as the identifier.
        sockaddr_storage local{};
        socklen_t localLength = sizeof local;
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), toLength) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &localLength) == 0) {
            identifier_ = ntohs(v6_ ? reinterpret_cast<sockaddr_in6*>(&local)->sin6_port
                                    : reinterpret_cast<sockaddr_in*>(&local)->sin_port);
        }
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readReply(); });
    elapsed_.start();
    const ssize_t sent =
        ::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), toLength);
    if (sent < 0) {
        // Nothing can reach the address (no route, interface down).
        Outcome o;
        o.kind = Outcome::Kind::NoReply;
        o.address = address;
        o.method = method_;
        o.reason = errnoText(errno);
        finish(o);
        return;
    }
    timeout_.start(options_.timeoutMs);
}

void SystemEchoProbe::readReply() {
    std::array<unsigned char, 2048> buffer{};
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                return;
            // An error report (unreachable and the like) is no reply.
            Outcome o;
            o.kind = Outcome::Kind::NoReply;
            o.address = address_;
            o.method = method_;
            o.reason = errnoText(errno);
            finish(o);
            return;
        }
        std::size_t offset = 0;
        if (method_ == Method::Raw && !v6_) {
            if (n < 20)
                continue;
            offset = static_cast<std::size_t>(buffer[0] & 0x0F) * 4;
        }
        if (static_cast<std::size_t>(n) < offset + 8 + kDataBytes)
            continue;
        const unsigned char* icmp = buffer.data() + offset;
        const int replyType = v6_ ? 129 : ICMP_ECHOREPLY;
        const quint16 id = static_cast<quint16>(icmp[4] << 8 | icmp[5]);
        const quint16 seq = static_cast<quint16>(icmp[6] << 8 | icmp[7]);
        const auto data = echoData();
        if (icmp[0] != replyType || id != identifier_ || seq != sequence_ ||
            std::memcmp(icmp + 8, data.data(), kDataBytes) != 0)
            continue;  // someone else's packet, or our own request on a raw socket
        Outcome o;
        o.kind = Outcome::Kind::Reply;
        o.address = address_;
        o.method = method_;
        o.milliseconds = static_cast<int>(elapsed_.nsecsElapsed() / 1000000);
        finish(o);
        return;
    }
}

void SystemEchoProbe::startProgram(const QHostAddress& address) {
    method_ = Method::Program;
    process_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process_->setProcessEnvironment(env);
    connect(process_.get(), &QProcess::finished, this, &SystemEchoProbe::programFinished);
    connect(process_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        Outcome o;
        o.kind = Outcome::Kind::Unavailable;
        o.address = address_;
        o.method = Method::Program;
        o.reason = QStringLiteral("ping: ") + process_->errorString();
        finish(o);
    });
    // The resolved address, never the field: nothing the user typed reaches
    // the program's options.
    process_->start(
        options_.pingProgram,
        {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"),
         QStringLiteral("1"), QStringLiteral("-s"), QString::number(kDataBytes),
         QStringLiteral("-t"), QString::number(kTtl), QStringLiteral("-M"), QStringLiteral("dont"),
         QStringLiteral("--"), address.toString()});
    // The program has its own 1 s limit; this one only guards against a hang.
    timeout_.start(options_.timeoutMs + 4000);
}

void SystemEchoProbe::programFinished(int exitCode, QProcess::ExitStatus status) {
    Outcome o;
    o.address = address_;
    o.method = Method::Program;
    const QString out = QString::fromLocal8Bit(process_->readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process_->readAllStandardError());
    static const QRegularExpression time(QStringLiteral("time[=<]([0-9]+(\\.[0-9]+)?) ?ms"));
    const auto match = time.match(out);
    if (status == QProcess::NormalExit && exitCode == 0 && match.hasMatch()) {
        o.kind = Outcome::Kind::Reply;
        o.milliseconds = static_cast<int>(std::floor(match.captured(1).toDouble()));
    } else if (status == QProcess::NormalExit && exitCode == 1) {
        o.kind = Outcome::Kind::NoReply;
    } else {
        o.kind = Outcome::Kind::Unavailable;
        o.reason = err.trimmed().isEmpty() ? QStringLiteral("ping failed") : err.trimmed();
    }
    process_.release()->deleteLater();
    finish(o);
}

}  // namespace hinagiku::platform
