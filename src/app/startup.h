// The start-up sequence of the dashboard window, and the single-instance rule.
#pragma once
#include <cstdint>
#include <string>

namespace app {

class frmSysTray;

// The ten steps of start-up, each to its end before the next.
void RunStartup(frmSysTray& dash);

// "h:mm AM/PM": hour without a leading zero, minutes with two digits.
std::string ClockTimeText(int hour, int minute);

}  // namespace app

namespace modPreviousInstance {

// Brings an earlier instance's window forward and ends this process; returns only when
// no earlier instance's window is found.
void ActivatePreviousInstance();

}  // namespace modPreviousInstance
