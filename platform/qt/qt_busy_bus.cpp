#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <algorithm>

#include "qt/qt_busy.h"

namespace brindle::busy {

namespace {

// The first value of a reply that came in time, unwrapped from a property's variant; an error,
// a late reply or a missing service gives nothing.
QVariant Ask(const QDBusConnection& bus, QDBusMessage message, Deadline deadline) {
    if (!bus.isConnected()) {
        return {};
    }
    // A service that is not running is not started for the question: it would hold nothing back.
    message.setAutoStartService(false);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const QDBusMessage reply =
        bus.call(message, QDBus::Block, static_cast<int>(std::max<long long>(left.count(), 1)));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    const QVariant value = reply.arguments().first();
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

QDBusMessage PropertyRequest(const QString& service, const QString& path, const QString& interface,
                             const QString& property) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message << interface << property;
    return message;
}

bool IsTrue(const QVariant& value) {
    return value.typeId() == QMetaType::Bool && value.toBool();
}

}  // namespace

bool NotificationsInhibited(Deadline deadline) {
    return IsTrue(Ask(QDBusConnection::sessionBus(),
                      PropertyRequest(QStringLiteral("org.freedesktop.Notifications"),
                                      QStringLiteral("/org/freedesktop/Notifications"),
                                      QStringLiteral("org.freedesktop.Notifications"),
                                      QStringLiteral("Inhibited")),
                      deadline));
}

bool SessionLocked(Deadline deadline) {
    // logind's "auto" session is the caller's own.
    if (IsTrue(Ask(QDBusConnection::systemBus(),
                   PropertyRequest(QStringLiteral("org.freedesktop.login1"),
                                   QStringLiteral("/org/freedesktop/login1/session/auto"),
                                   QStringLiteral("org.freedesktop.login1.Session"),
                                   QStringLiteral("LockedHint")),
                   deadline))) {
        return true;
    }
    return IsTrue(Ask(QDBusConnection::sessionBus(),
                      QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                     QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                     QStringLiteral("org.freedesktop.ScreenSaver"),
                                                     QStringLiteral("GetActive")),
                      deadline));
}

}  // namespace brindle::busy
