#include "ui/win32/win32_chart.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ui::win32 {

namespace {

constexpr wchar_t kChartClass[] = L"TAVChart";
constexpr int kYTicks = 5;   // 0, 25, 50, 75, 100
constexpr int kXTicks = 7;
constexpr float kPenWidth = 2.0f;
constexpr float kDotRadius = 2.5f;

Gdiplus::Color Rgb(BYTE r, BYTE g, BYTE b) { return Gdiplus::Color(255, r, g, b); }

// What a chart window keeps between paints: the grid, drawn once per size, and the pixels the
// line on screen covers, so that a change of the points repaints only the line's band.
struct ChartWindow {
    const Chart* chart = nullptr;
    HBITMAP grid = nullptr;
    SIZE gridSize{0, 0};
    RECT plot{0, 0, 0, 0};
    HRGN painted = nullptr;  // null: nothing painted yet
};

ChartWindow* WindowOf(HWND hwnd) { return reinterpret_cast<ChartWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// The background, grid and axis labels: they change only with the size.
void DrawGrid(ChartWindow& cw, HDC target, int w, int h) {
    if (cw.grid) DeleteObject(cw.grid);
    cw.grid = CreateCompatibleBitmap(target, w, h);
    cw.gridSize = SIZE{w, h};
    HDC mem = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(mem, cw.grid);
    {
        Gdiplus::Graphics g(mem);
        g.Clear(Rgb(250, 251, 253));
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);

        Gdiplus::FontFamily family(L"Arial");
        Gdiplus::Font font(&family, 7.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
        Gdiplus::RectF box;
        g.MeasureString(L"100%", -1, &font, Gdiplus::PointF(0, 0), &box);
        const int labelW = static_cast<int>(box.Width) + 4;
        const int half = static_cast<int>(box.Height / 2) + 1;
        RECT plot{labelW + 4, half + 2, w - 8, h - half - 2};
        if (plot.right <= plot.left + 1 || plot.bottom <= plot.top + 1) plot = RECT{0, 0, w - 1, h - 1};
        cw.plot = plot;

        const Chart& chart = *cw.chart;
        Gdiplus::Pen grid(Rgb(225, 228, 235), 1.0f);
        Gdiplus::SolidBrush labelBrush(Rgb(90, 96, 110));
        Gdiplus::StringFormat right;
        right.SetAlignment(Gdiplus::StringAlignmentFar);
        right.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        for (int i = 0; i < kYTicks; ++i) {
            const float y = plot.bottom - static_cast<float>(plot.bottom - plot.top) * i / (kYTicks - 1);
            g.DrawLine(&grid, static_cast<float>(plot.left), y, static_cast<float>(plot.right), y);
            const double value = chart.minimum + (chart.maximum - chart.minimum) * i / (kYTicks - 1);
            wchar_t text[16];
            std::swprintf(text, 16, L"%d%%", static_cast<int>(value + 0.5));
            g.DrawString(text, -1, &font, Gdiplus::RectF(0, y - box.Height / 2, static_cast<float>(labelW), box.Height),
                         &right, &labelBrush);
        }
        for (int i = 0; i < kXTicks; ++i) {
            const float x = plot.left + static_cast<float>(plot.right - plot.left) * i / (kXTicks - 1);
            g.DrawLine(&grid, x, static_cast<float>(plot.top), x, static_cast<float>(plot.bottom));
        }
    }
    SelectObject(mem, old);
    DeleteDC(mem);
}

// part: the part to paint (all of it when null); onScreen: target is the window's own DC.
void Paint(HWND hwnd, HDC target, ChartWindow& cw, const RECT* part, bool onScreen) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0 || !cw.chart) return;
    if (!cw.grid || cw.gridSize.cx != w || cw.gridSize.cy != h) DrawGrid(cw, target, w, h);
    const RECT area = part ? *part : client;
    HDC gridDc = CreateCompatibleDC(target);
    HGDIOBJ oldGrid = SelectObject(gridDc, cw.grid);
    HDC mem = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    BitBlt(mem, area.left, area.top, area.right - area.left, area.bottom - area.top, gridDc, area.left, area.top, SRCCOPY);
    const auto runs = ChartRuns(cw.chart->points(), cw.chart->minimum, cw.chart->maximum, cw.plot);
    {
        Gdiplus::Graphics g(mem);
        g.SetClip(Gdiplus::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        Gdiplus::Pen line(Rgb(40, 50, 168), kPenWidth);
        line.SetLineJoin(Gdiplus::LineJoinRound);
        Gdiplus::SolidBrush dot(Rgb(40, 50, 168));
        for (const auto& run : runs) {
            if (run.size() == 1) {  // a lone point has no line to show it
                g.FillEllipse(&dot, run[0].x - kDotRadius, run[0].y - kDotRadius, 2 * kDotRadius, 2 * kDotRadius);
                continue;
            }
            std::vector<Gdiplus::PointF> pts;
            for (const ChartPoint& p : run) pts.emplace_back(p.x, p.y);
            g.DrawLines(&line, pts.data(), static_cast<INT>(pts.size()));
        }
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, mem, area.left, area.top, SRCCOPY);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    SelectObject(gridDc, oldGrid);
    DeleteDC(gridDc);
    if (!onScreen) return;  // painted into another device context: the screen is as it was
    // On screen now: the line inside the part just painted, and outside it whatever an earlier
    // paint left there; before any whole paint, nothing is known.
    HRGN now = ChartLineRegion(runs);
    const bool whole = area.left <= 0 && area.top <= 0 && area.right >= w && area.bottom >= h;
    if (cw.painted) {
        HRGN part = CreateRectRgnIndirect(&area);
        CombineRgn(cw.painted, cw.painted, part, RGN_DIFF);
        CombineRgn(cw.painted, cw.painted, now, RGN_OR);
        DeleteObject(part);
        DeleteObject(now);
    } else if (whole) {
        cw.painted = now;
    } else {
        DeleteObject(now);
    }
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            auto* cw = new ChartWindow;
            cw->chart = reinterpret_cast<const Chart*>(cs->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cw));
            break;
        }
        case WM_NCDESTROY:
            if (ChartWindow* cw = WindowOf(hwnd)) {
                if (cw->grid) DeleteObject(cw->grid);
                if (cw->painted) DeleteObject(cw->painted);
                delete cw;
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            }
            break;
        case WM_SIZE:
            // The points move with the size: all of it is painted again.
            if (ChartWindow* cw = WindowOf(hwnd); cw && cw->painted) {
                DeleteObject(cw->painted);
                cw->painted = nullptr;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            ChartWindow* cw = WindowOf(hwnd);
            if (msg == WM_PRINTCLIENT) {
                if (cw) Paint(hwnd, reinterpret_cast<HDC>(wp), *cw, nullptr, false);
                return 0;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (cw) Paint(hwnd, dc, *cw, &ps.rcPaint, true);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

const wchar_t* RegisterChartClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ChartProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kChartClass;
    RegisterClassExW(&wc);
    return kChartClass;
}

HRGN ChartLineRegion(const std::vector<std::vector<ChartPoint>>& runs) {
    // Half the pen each side, its round joins, a pixel of antialiasing and one for rounding.
    const float reach = kPenWidth + 2;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    auto add = [region](float left, float top, float right, float bottom) {
        HRGN r = CreateRectRgn(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
                               static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1);
        CombineRgn(region, region, r, RGN_OR);
        DeleteObject(r);
    };
    for (const auto& run : runs) {
        if (run.size() == 1) {
            const float r = kDotRadius + reach;
            add(run[0].x - r, run[0].y - r, run[0].x + r, run[0].y + r);
            continue;
        }
        for (size_t i = 1; i < run.size(); ++i) {
            add(std::min(run[i - 1].x, run[i].x) - reach, std::min(run[i - 1].y, run[i].y) - reach,
                std::max(run[i - 1].x, run[i].x) + reach, std::max(run[i - 1].y, run[i].y) + reach);
        }
    }
    return region;
}

void InvalidateChartLine(HWND hwnd) {
    ChartWindow* cw = WindowOf(hwnd);
    if (!cw || !cw->chart || !cw->painted) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    HRGN band = ChartLineRegion(ChartRuns(cw->chart->points(), cw->chart->minimum, cw->chart->maximum, cw->plot));
    CombineRgn(band, band, cw->painted, RGN_OR);
    InvalidateRgn(hwnd, band, FALSE);
    DeleteObject(band);
}

std::vector<std::vector<ChartPoint>> ChartRuns(const std::vector<std::optional<double>>& points, double minimum,
                                               double maximum, const RECT& plot) {
    std::vector<std::vector<ChartPoint>> runs;
    const size_t n = points.size();
    const double span = maximum > minimum ? maximum - minimum : 1.0;
    bool inRun = false;
    for (size_t i = 0; i < n; ++i) {
        if (!points[i]) {
            inRun = false;
            continue;
        }
        const double v = std::clamp(*points[i], std::min(minimum, maximum), std::max(minimum, maximum));
        const double fx = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
        const ChartPoint p{static_cast<float>(plot.left + fx * (plot.right - plot.left)),
                           static_cast<float>(plot.bottom - (v - minimum) / span * (plot.bottom - plot.top))};
        if (!inRun) runs.emplace_back();
        runs.back().push_back(p);
        inRun = true;
    }
    return runs;
}

}  // namespace ui::win32
