#include "ui/win32/win32_chart.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>

namespace ui::win32 {

namespace {

constexpr wchar_t kChartClass[] = L"TAVChart";
constexpr int kYTicks = 5;   // 0, 25, 50, 75, 100
constexpr int kXTicks = 7;

Gdiplus::Color Rgb(BYTE r, BYTE g, BYTE b) { return Gdiplus::Color(255, r, g, b); }

void Paint(HWND hwnd, HDC target, const Chart& chart) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    HDC mem = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
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

        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        Gdiplus::Pen line(Rgb(40, 50, 168), 2.0f);
        line.SetLineJoin(Gdiplus::LineJoinRound);
        Gdiplus::SolidBrush dot(Rgb(40, 50, 168));
        for (const auto& run : ChartRuns(chart.points(), chart.minimum, chart.maximum, plot)) {
            if (run.size() == 1) {  // a lone point has no line to show it
                g.FillEllipse(&dot, run[0].x - 2.5f, run[0].y - 2.5f, 5.0f, 5.0f);
                continue;
            }
            std::vector<Gdiplus::PointF> pts;
            for (const ChartPoint& p : run) pts.emplace_back(p.x, p.y);
            g.DrawLines(&line, pts.data(), static_cast<INT>(pts.size()));
        }
    }
    BitBlt(target, 0, 0, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            auto* chart = reinterpret_cast<const Chart*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (msg == WM_PRINTCLIENT) {
                if (chart) Paint(hwnd, reinterpret_cast<HDC>(wp), *chart);
                return 0;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (chart) Paint(hwnd, dc, *chart);
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
