#include "mainwindow/system_power.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace hinagiku::mainwindow {
namespace {

bool callLogind(const char* method, std::string& message) {
    QDBusInterface manager(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    if (!manager.isValid()) {
        message = manager.lastError().message().toStdString();
        return false;
    }
    const QDBusReply<void> reply = manager.call(QString::fromLatin1(method), true);
    if (!reply.isValid()) {
        message = reply.error().message().toStdString();
        return false;
    }
    return true;
}

}  // namespace

bool LogindPower::powerOff(std::string& message) {
    return callLogind("PowerOff", message);
}
bool LogindPower::reboot(std::string& message) {
    return callLogind("Reboot", message);
}

}  // namespace hinagiku::mainwindow
