#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

#include "platform/echo_probe.h"

namespace hinagiku::platform {

// EchoProbe on the system: an ICMP datagram socket (SOCK_DGRAM with
// IPPROTO_ICMP or IPPROTO_ICMPV6, allowed by net.ipv4.ping_group_range),
// else a raw socket (CAP_NET_RAW), else the ping program of iputils given
// the resolved address. Methods can be left out (tests try each alone).
class SystemEchoProbe final : public EchoProbe {
    Q_OBJECT
  public:
    struct Options {
        bool datagram = true;
        bool raw = true;
        bool program = true;
        QString pingProgram = QStringLiteral("ping");  // looked up on PATH
        int timeoutMs = 1000;
    };
    explicit SystemEchoProbe(QObject* parent = nullptr);
    SystemEchoProbe(Options options, QObject* parent = nullptr);
    ~SystemEchoProbe() override;

    void probe(const QHostAddress& address) override;
    void cancel() override;

  private:
    bool openSocket(const QHostAddress& address, Method& method, QString& reason);
    void readReply();
    void startProgram(const QHostAddress& address);
    void programFinished(int exitCode, QProcess::ExitStatus status);
    // Posts the outcome: `finished` never comes from inside probe().
    void finish(Outcome outcome);
    void closeSocket();

    Options options_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QProcess> process_;
    QTimer timeout_;
    QElapsedTimer elapsed_;
    QHostAddress address_;
    Method method_ = Method::Datagram;
    quint16 identifier_ = 0;
    quint16 sequence_ = 0;
    bool v6_ = false;
    quint64 generation_ = 0;  // outcomes of a cancelled probe are dropped
};

}  // namespace hinagiku::platform
