#include "monitor/cpu_usage.h"

#include <limits>
#include <string>

#include "app/frm_systray.h"
#include "monitor/number_format.h"
#include "platform/services.h"
#include "ui/application.h"
#include "ui/host.h"

namespace modGetTotalCPUUsage {

bool bCPUBaselineTaken = false;
int64_t cyIdleStart = 0, cyKernelStart = 0, cyUserStart = 0;
int64_t cyIdleEnd = 0, cyKernelEnd = 0, cyUserEnd = 0;
int32_t lIdleDelta = 0, lKernelDelta = 0, lUserDelta = 0, lTotalDelta = 0;
double dblCPUUsage = 0;
std::array<std::optional<double>, 61> vCPUHistory;

namespace {

// Whether the start times come from a successful read; a completion without one is skipped.
bool bStartValid = false;

std::optional<platform::SystemTimesReading> ReadSystemTimes() {
    platform::SystemTimes* times = platform::services().systemTimes;
    return times ? times->read() : std::nullopt;
}

void LetEventsRun() { ui::app().host().doEvents(); }

// The value as a 32-bit integer; empty where 32-bit arithmetic would overflow.
std::optional<int32_t> Fit32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(v);
}

}  // namespace

void TakeCPUBaseline() {
    LetEventsRun();
    const auto t = ReadSystemTimes();
    bStartValid = t.has_value();
    if (!t) return;
    cyIdleStart = t->idle;
    cyKernelStart = t->kernel;
    cyUserStart = t->user;
}

void UpdateCPUUsage() {
    LetEventsRun();
    const auto t = ReadSystemTimes();
    // A failed read on either side skips this reading, like a total that did not advance.
    if (!t || !bStartValid) return;
    cyIdleEnd = t->idle;
    cyKernelEnd = t->kernel;
    cyUserEnd = t->user;

    // Differences in whole milliseconds, rounded ties-to-even. A difference or a sum that does
    // not fit 32 bits (a counter reset or a broken reading) skips the reading as well.
    const auto idle = monitor::RoundFixedToInt32(cyIdleEnd - cyIdleStart);
    const auto kernel = monitor::RoundFixedToInt32(cyKernelEnd - cyKernelStart);
    const auto user = monitor::RoundFixedToInt32(cyUserEnd - cyUserStart);
    if (!idle || !kernel || !user) return;
    lIdleDelta = *idle;
    lKernelDelta = *kernel;
    lUserDelta = *user;
    const auto total = Fit32(int64_t{lUserDelta} + lKernelDelta);
    if (!total) return;
    lTotalDelta = *total;

    LetEventsRun();

    if (lTotalDelta <= 0) return;
    const auto busy = Fit32(int64_t{lTotalDelta} - lIdleDelta);
    const auto busyTimes100 = busy ? Fit32(int64_t{*busy} * 100) : std::nullopt;
    if (!busyTimes100) return;
    dblCPUUsage = static_cast<double>(*busyTimes100) / lTotalDelta;

    app::frmSysTray& dash = app::Dashboard();
    dash.lblUsage.setCaption("Current CPU Usage:  " + monitor::FormatTwoDecimals(dblCPUUsage) + "%");

    // Shift towards the old end; the average covers the non-zero readings among the 59 before
    // the current one (an empty slot counts as zero).
    int count = 0;
    double sum = 0;
    for (int i = 1; i <= 59; ++i) {
        vCPUHistory[i] = vCPUHistory[i + 1];
        const double v = vCPUHistory[i].value_or(0.0);
        if (v != 0) {
            ++count;
            sum += v;
        }
    }
    const std::string average = count > 0 ? monitor::FormatTwoDecimals(sum / count) : std::string();
    dash.lblCPUAvg.setCaption("AVG CPU Usage (Last " + std::to_string(count + 1) + " secs):  " + average + "%");

    vCPUHistory[60] = dblCPUUsage;

    for (int i = 60; i >= 1; --i) {
        dash.chartCPU.setRow(i);
        dash.chartCPU.setData(vCPUHistory[i]);
    }
}

void Reset() {
    bCPUBaselineTaken = false;
    bStartValid = false;
    cyIdleStart = cyKernelStart = cyUserStart = 0;
    cyIdleEnd = cyKernelEnd = cyUserEnd = 0;
    lIdleDelta = lKernelDelta = lUserDelta = lTotalDelta = 0;
    dblCPUUsage = 0;
    vCPUHistory.fill(std::nullopt);
}

}  // namespace modGetTotalCPUUsage
