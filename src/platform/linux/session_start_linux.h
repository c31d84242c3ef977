#pragma once
#include <string>

#include "platform/services.h"

namespace platform {

// Starting with the desktop session through an XDG autostart entry.
class SessionStartLinux : public SessionStart {
public:
    explicit SessionStartLinux(Files& files) : files_(files) {}
    void registerAtLogon() override;

private:
    Files& files_;
};

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
std::string AutostartFolder();
// The desktop entry that starts the executable at the given path.
std::string AutostartEntry(const std::string& executable);

}  // namespace platform
