#include "platform/linux/session_start_linux.h"

#include "platform/linux/xdg_folders.h"

namespace platform {

std::string AutostartFolder() { return XdgBaseFolder("XDG_CONFIG_HOME", ".config") + "/autostart"; }

std::string AutostartEntry(const std::string& executable) {
    // Exec quoting of desktop entries (freedesktop.org): the path in double quotes with '"', '`',
    // '$' and backslash escaped by a backslash, and every backslash then doubled once more because
    // the key's value is itself an escaped string.
    std::string quoted = "\"";
    for (char c : executable) {
        if (c == '\\') quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$') quoted += std::string("\\\\") + c;
        else quoted += c;
    }
    quoted += "\"";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=TAV Dashboard\n"
           "Comment=Computer check-up dashboard of your repair store\n"
           "Exec=" + quoted + "\n"
           "Icon=computer\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

void SessionStartLinux::registerAtLogon() {
    const std::string folder = AutostartFolder();
    MakeFolders(folder);
    files_.replace(folder + "/TAVDashboard.desktop", AutostartEntry(files_.programFolder() + "/TAVDashboard"));
}

}  // namespace platform
