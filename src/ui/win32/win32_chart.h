// The chart control on Win32: one line series over the chart's points, oldest on the left,
// newest on the right, between the chart's minimum and maximum, with gaps at empty points.
// Painted with GDI+ into a memory bitmap, so updates never flicker, over a grid drawn once per
// size; a change of the points repaints only the band around the line before and after it.
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

// The pixels the runs' line (a dot for a lone point) may cover; the caller deletes the region.
HRGN ChartLineRegion(const std::vector<std::vector<ChartPoint>>& runs);

// Asks for a repaint of the chart window after its points changed: the line's band as it is on
// screen and as it will be, or the whole window before its first paint.
void InvalidateChartLine(HWND hwnd);

}  // namespace ui::win32
