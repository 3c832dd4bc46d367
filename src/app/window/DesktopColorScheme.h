#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

// Whether the desktop asks applications for a dark appearance. Qt 6.4 does not say, so the
// desktop's own settings are read: GNOME's colour scheme ("prefer-dark") or, where a desktop
// predates that setting, a GTK theme named as dark, and KDE's window background colour.
namespace DesktopColorScheme {

// What the desktop's settings hold; absent where a desktop does not have the setting.
struct Settings {
    std::optional<QString> gnomeColorScheme; // "default", "prefer-dark" or "prefer-light"
    std::optional<QString> gtkTheme;         // e.g. "Adwaita-dark"
    std::optional<QColor> kdeWindowBackground;
};

// The decision from the settings alone: GNOME's colour scheme where it says light or dark, else
// the theme's name, else whether KDE's window background is dark.
bool PrefersDark(const Settings& settings);

// The settings of this session's desktop.
Settings Read();

// Calls `changed` on the main thread whenever the desktop's colour scheme or theme changes, for
// as long as the program runs (nothing is watched where GNOME's settings are not installed).
void Watch(const std::function<void()>& changed);

} // namespace DesktopColorScheme
