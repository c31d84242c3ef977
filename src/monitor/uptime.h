// How long the system has been running, for the dashboard's uptime label.
#pragma once
#include <string>

namespace modSystemUptime {

// Milliseconds since system start, whole in normal operation.
double GetUptimeMs();
// "Uptime = D D, H H, M M, S S" from the uptime rounded to whole seconds.
std::string GetUptimeText();

}  // namespace modSystemUptime
