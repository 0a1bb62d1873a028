#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>

namespace hinagiku::platform {

// One ICMP echo request ("ping") to an address, answered asynchronously on
// the user-interface thread: 56 bytes of data, time to live 64, fragments
// allowed, 1000 ms time-out. Only an echo reply with our identifier,
// sequence number and data counts; an unreachable report is no reply.
class EchoProbe : public QObject {
    Q_OBJECT
  public:
    // How the request went out.
    enum class Method { Datagram, Raw, Program };
    struct Outcome {
        enum class Kind { Reply, NoReply, Unavailable };
        Kind kind = Kind::NoReply;
        QHostAddress address;
        int milliseconds = 0;  // round trip, whole ms rounded down (Reply)
        Method method = Method::Datagram;
        QString reason;  // why nothing could be sent (Unavailable)
    };

    using QObject::QObject;
    ~EchoProbe() override = default;

    // Sends one request; a request still running is cancelled first. The
    // outcome comes with `finished`, never from inside this call.
    virtual void probe(const QHostAddress& address) = 0;
    // Drops the request running, if any: no `finished` follows.
    virtual void cancel() = 0;

  signals:
    void finished(const hinagiku::platform::EchoProbe::Outcome& outcome);
};

QString methodName(EchoProbe::Method method);  // "dgram", "raw", "program"

// The system's probe: an ICMP datagram socket where the kernel allows one
// (net.ipv4.ping_group_range), else a raw socket, else the ping program.
std::unique_ptr<EchoProbe> makeSystemEchoProbe(QObject* parent = nullptr);

}  // namespace hinagiku::platform
