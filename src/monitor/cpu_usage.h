// The CPU usage sampler: one reading per second from the processors' system times, the
// current and average usage labels and the 60-point chart of the dashboard.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace modGetTotalCPUUsage {

// Alternating halves of a sample, driven by the dashboard's 500 ms timer.
extern bool bCPUBaselineTaken;

// The system times at the baseline and at the completion, as 64-bit fixed-point milliseconds
// with four decimals: the raw count of 100-ns units is exactly that representation.
extern int64_t cyIdleStart, cyKernelStart, cyUserStart;
extern int64_t cyIdleEnd, cyKernelEnd, cyUserEnd;
// The differences in whole milliseconds; lTotalDelta = user + kernel.
extern int32_t lIdleDelta, lKernelDelta, lUserDelta, lTotalDelta;
// The latest usage in percent of all processors together.
extern double dblCPUUsage;
// Usage history: slot 60 the newest, slot 1 the oldest, slot 0 unused; empty until filled.
extern std::array<std::optional<double>, 61> vCPUHistory;

// Reads the start times.
void TakeCPUBaseline();
// Reads the end times, computes the usage and updates the labels, history and chart.
void UpdateCPUUsage();

// Back to the state at program start (tests start each program afresh).
void Reset();

}  // namespace modGetTotalCPUUsage
