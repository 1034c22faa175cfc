#include <gio/gio.h>

#include <algorithm>

#include "busy.h"

namespace brindle::busy {

namespace {

// Whether a call answered in time with a true boolean, unwrapped from a property's variant; an
// error, a late reply or a missing service counts as false.
bool AnswersTrue(GBusType busType, const char* service, const char* path, const char* interface,
                 const char* method, GVariant* parameters, Deadline deadline) {
    GDBusConnection* bus = g_bus_get_sync(busType, nullptr, nullptr);
    if (bus == nullptr) {
        if (parameters != nullptr) {
            g_variant_unref(g_variant_ref_sink(parameters));
        }
        return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    // A service that is not running is not started for the question: it would hold nothing back.
    GVariant* reply = g_dbus_connection_call_sync(
        bus, service, path, interface, method, parameters, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
        static_cast<int>(std::max<long long>(left.count(), 1)), nullptr, nullptr);
    g_object_unref(bus);
    if (reply == nullptr) {
        return false;
    }
    bool isTrue = false;
    if (g_variant_n_children(reply) > 0) {
        GVariant* value = g_variant_get_child_value(reply, 0);
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)) {
            GVariant* inner = g_variant_get_variant(value);
            g_variant_unref(value);
            value = inner;
        }
        isTrue =
            g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
        g_variant_unref(value);
    }
    g_variant_unref(reply);
    return isTrue;
}

bool PropertyIsTrue(GBusType busType, const char* service, const char* path, const char* interface,
                    const char* property, Deadline deadline) {
    return AnswersTrue(busType, service, path, "org.freedesktop.DBus.Properties", "Get",
                       g_variant_new("(ss)", interface, property), deadline);
}

}  // namespace

bool NotificationsInhibited(Deadline deadline) {
    return PropertyIsTrue(G_BUS_TYPE_SESSION, "org.freedesktop.Notifications",
                          "/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                          "Inhibited", deadline);
}

bool SessionLocked(Deadline deadline) {
    // logind's "auto" session is the caller's own.
    return PropertyIsTrue(G_BUS_TYPE_SYSTEM, "org.freedesktop.login1",
                          "/org/freedesktop/login1/session/auto", "org.freedesktop.login1.Session",
                          "LockedHint", deadline) ||
           AnswersTrue(G_BUS_TYPE_SESSION, "org.freedesktop.ScreenSaver",
                       "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "GetActive",
                       nullptr, deadline);
}

}  // namespace brindle::busy
