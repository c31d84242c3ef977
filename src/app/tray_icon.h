// The notification-area icon: registered once at start-up, deleted when the program quits.
#pragma once

namespace modsystray {

// Fills the icon record, loads the hidden window that owns it, and adds the icon.
void AddTrayIcon();
void DeleteTrayIcon();

}  // namespace modsystray
