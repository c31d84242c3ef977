#include "platform/linux/session_start_linux.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

std::string AutostartFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/autostart";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/autostart";
}

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
    // Create the folder and its parents; failures show up as a failed write below.
    for (size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
    files_.replace(folder + "/TAVDashboard.desktop", AutostartEntry(files_.programFolder() + "/TAVDashboard"));
}

}  // namespace platform
