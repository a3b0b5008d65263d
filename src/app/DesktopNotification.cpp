#include "app/DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace veritam {

void notifyDesktop(const QString& summary, const QString& body) {
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service))
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                       service, QStringLiteral("Notify"));
    call << QStringLiteral("Veritam") << 0u << QStringLiteral("dialog-information") << summary
         << body << QStringList() << QVariantMap() << -1;
    bus.call(call, QDBus::NoBlock);
}

} // namespace veritam
