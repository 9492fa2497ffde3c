#pragma once

#include <QString>

namespace orvanel {

// The user's login start entry, $XDG_CONFIG_HOME/autostart/org.orvanel.Orvanel.desktop
// (~/.config when unset), which desktops following the XDG autostart rules run at login.
QString AutostartEntryPath();

// True while the entry is there and not switched off (Hidden=true, or the GNOME key set to
// false by the desktop's own start-up settings).
bool StartsAtLogin();

// Writes the entry (replacing the file at once, never half-written) so that `program` starts
// on `folder`, or removes it. False when the file cannot be written or removed, or a path has
// a line break (no desktop entry can hold it).
[[nodiscard]] bool SetStartAtLogin(bool on, const QString& program, const QString& folder);

} // namespace orvanel
