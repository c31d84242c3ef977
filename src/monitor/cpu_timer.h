// The work of the dashboard's 500 ms timer: the uptime label, then one half of a CPU sample.
#pragma once

namespace app { class frmSysTray; }

namespace monitor {

void OnCpuTimerTick(app::frmSysTray& dash);

}  // namespace monitor
