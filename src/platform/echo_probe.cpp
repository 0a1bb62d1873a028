#include "platform/echo_probe.h"

#include "platform/system_echo_probe.h"

namespace hinagiku::platform {

QString methodName(EchoProbe::Method method) {
    switch (method) {
        case EchoProbe::Method::Datagram:
            return QStringLiteral("dgram");
        case EchoProbe::Method::Raw:
            return QStringLiteral("raw");
        case EchoProbe::Method::Program:
            return QStringLiteral("program");
    }
    return {};
}

std::unique_ptr<EchoProbe> makeSystemEchoProbe(QObject* parent) {
    return std::make_unique<SystemEchoProbe>(parent);
}

}  // namespace hinagiku::platform
