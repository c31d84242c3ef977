// The chart control on Win32: one line series over the chart's points, oldest on the left,
// newest on the right, between the chart's minimum and maximum, with gaps at empty points.
// Painted with GDI+ into a memory bitmap, so updates never flicker.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "ui/control.h"

namespace ui::win32 {

// The window class of chart controls; the window's creation parameter is the Chart.
const wchar_t* RegisterChartClass(HINSTANCE instance);

struct ChartPoint {
    float x, y;
};

// The plotted runs of consecutive filled points inside the plot rectangle: a run per stretch
// without empty points, values clamped to [minimum, maximum].
std::vector<std::vector<ChartPoint>> ChartRuns(const std::vector<std::optional<double>>& points, double minimum,
                                               double maximum, const RECT& plot);

}  // namespace ui::win32
