#include "platform/linux/xdg_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

// $HOME, or the user's home folder from the password database when HOME is unset or relative.
std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : "/tmp";
}

}  // namespace

std::string XdgBaseFolder(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    if (value && value[0] == '/') return value;
    return HomeFolder() + "/" + fallback;
}

void MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
}

}  // namespace platform
