// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of GNOME: org.gnome.desktop.peripherals.mouse speed, which GNOME's own
// mouse settings show and its compositor applies at once, on Wayland and X11 alike.
// GIO comes first: its headers name struct members "signals", which Qt's make a keyword.
#include <gio/gio.h>

#include "PointerSpeedBackends.h"

#include <memory>

namespace PointerSpeed {
namespace {

constexpr const char *kSchema = "org.gnome.desktop.peripherals.mouse";
constexpr const char *kKey = "speed";
// A write that GSettings may not yet have handed on.
bool s_unsynced = false;

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using SettingsPtr = std::unique_ptr<GSettings, ObjectUnref>;

// The mouse settings, or none when the schema or its key is not installed: creating
// GSettings for a missing schema would abort the program.
SettingsPtr mouseSettings() {
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (!schema)
        return nullptr;
    SettingsPtr settings;
    if (g_settings_schema_has_key(schema, kKey))
        settings.reset(g_settings_new_full(schema, nullptr, nullptr));
    g_settings_schema_unref(schema);
    return settings;
}

} // namespace

int readGnomeSpeed() {
    const SettingsPtr settings = mouseSettings();
    if (!settings)
        return kDefaultSpeed;
    return speedFromLibinput(g_settings_get_double(settings.get(), kKey));
}

Result writeGnomeSpeed(int speed) {
    const SettingsPtr settings = mouseSettings();
    if (!settings) {
        qCDebug(lcPlatform, "pointer speed: no GSettings schema %s", kSchema);
        return Unsupported;
    }
    if (!g_settings_set_double(settings.get(), kKey, libinputFromSpeed(speed)))
        return Failed;
    // GSettings' backend (dconf) hands the write on by itself, without waiting here; a
    // program that ends waits for it in settle().
    s_unsynced = true;
    return Done;
}

void syncGnomeWrites() {
    // Only after a write: syncing would start GSettings' backend in any desktop.
    if (s_unsynced)
        g_settings_sync();
    s_unsynced = false;
}

} // namespace PointerSpeed
