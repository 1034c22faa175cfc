#include <gio/gio.h>

#include "busy.h"

namespace brindle::busy {

bool BannersOff() {
    // Outside GNOME the schema may be missing, and GSettings aborts on a schema it cannot find:
    // it is looked up first.
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    if (schemas == nullptr) {
        return false;
    }
    GSettingsSchema* schema =
        g_settings_schema_source_lookup(schemas, "org.gnome.desktop.notifications", TRUE);
    if (schema == nullptr) {
        return false;
    }
    bool off = false;
    if (g_settings_schema_has_key(schema, "show-banners")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        off = !g_settings_get_boolean(settings, "show-banners");
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return off;
}

}  // namespace brindle::busy
