// GLib before Qt: Qt's "signals" keyword would otherwise rename a field in GIO's headers.
#include <gio/gio.h>

#include "app/window/DesktopColorScheme.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace DesktopColorScheme {

namespace {

const char* const InterfaceSchema = "org.gnome.desktop.interface";

// GNOME's interface settings, or null where their schema is not installed (reading a missing
// schema would abort the program).
GSettings* InterfaceSettings() {
    static GSettings* const settings = []() -> GSettings* {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema =
            source ? g_settings_schema_source_lookup(source, InterfaceSchema, TRUE) : nullptr;
        if (!schema)
            return nullptr;
        g_settings_schema_unref(schema);
        return g_settings_new(InterfaceSchema);
    }();
    return settings;
}

std::optional<QString> StringKey(GSettings* settings, const char* key) {
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    const bool present = schema && g_settings_schema_has_key(schema, key);
    if (schema)
        g_settings_schema_unref(schema);
    if (!present)
        return std::nullopt;
    gchar* value = g_settings_get_string(settings, key);
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

std::optional<QColor> KdeWindowBackground() {
    const QString file =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("kdeglobals"));
    const QStringList rgb = QSettings(file, QSettings::IniFormat)
                                .value(QStringLiteral("Colors:Window/BackgroundNormal"))
                                .toStringList();
    if (rgb.size() != 3)
        return std::nullopt;
    const QColor color(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
    return color.isValid() ? std::optional(color) : std::nullopt;
}

void OnChanged(GSettings*, gchar*, gpointer data) {
    (*static_cast<std::function<void()>*>(data))();
}

} // namespace

bool PrefersDark(const Settings& settings) {
    if (settings.gnomeColorScheme == QStringLiteral("prefer-dark"))
        return true;
    if (settings.gnomeColorScheme == QStringLiteral("prefer-light"))
        return false;
    if (settings.gtkTheme &&
        settings.gtkTheme->endsWith(QStringLiteral("-dark"), Qt::CaseInsensitive))
        return true;
    return settings.kdeWindowBackground && settings.kdeWindowBackground->lightnessF() < 0.5;
}

Settings Read() {
    Settings settings;
    if (GSettings* gnome = InterfaceSettings()) {
        settings.gnomeColorScheme = StringKey(gnome, "color-scheme");
        settings.gtkTheme = StringKey(gnome, "gtk-theme");
    }
    settings.kdeWindowBackground = KdeWindowBackground();
    return settings;
}

void Watch(const std::function<void()>& changed) {
    GSettings* gnome = InterfaceSettings();
    if (!gnome)
        return;
    // Kept for the program's life, as the settings object is.
    auto* callback = new std::function<void()>(changed);
    g_signal_connect(gnome, "changed::color-scheme", G_CALLBACK(OnChanged), callback);
    g_signal_connect(gnome, "changed::gtk-theme", G_CALLBACK(OnChanged), callback);
}

} // namespace DesktopColorScheme
