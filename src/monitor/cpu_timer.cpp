#include "monitor/cpu_timer.h"

#include "app/frm_systray.h"

namespace monitor {

// The uptime text and the CPU sampler come with the monitoring part of the program.
void OnCpuTimerTick(app::frmSysTray&) {}

}  // namespace monitor
