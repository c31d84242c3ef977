#include "monitor/cpu_timer.h"

#include "app/frm_systray.h"
#include "monitor/cpu_usage.h"
#include "monitor/uptime.h"

namespace monitor {

// The uptime label on every tick; then the CPU baseline and the CPU reading on alternate ticks,
// so one reading per second covers the half second after its baseline.
void OnCpuTimerTick(app::frmSysTray& dash) {
    dash.lblSysUptime.setCaption(modSystemUptime::GetUptimeText());
    if (modGetTotalCPUUsage::bCPUBaselineTaken) {
        modGetTotalCPUUsage::UpdateCPUUsage();
        modGetTotalCPUUsage::bCPUBaselineTaken = false;
    } else {
        modGetTotalCPUUsage::TakeCPUBaseline();
        modGetTotalCPUUsage::bCPUBaselineTaken = true;
    }
}

}  // namespace monitor
