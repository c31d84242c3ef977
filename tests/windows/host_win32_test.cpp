// The Win32 host on the real Win32 API (run under Wine or on Windows): pictures from the
// resources, the chart's plotted runs, and forms realised as windows with their events.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>

#include <cstring>
#include <functional>
#include <gdiplus.h>

#include "platform/win32/instance_windows_win32.h"
#include "ui/application.h"
#include "ui/timer_menu.h"
#include "ui/win32/win32_chart.h"
#include "ui/win32/win32_host.h"
#include "ui/win32/win32_pictures.h"

namespace {

using ui::win32::ChartPoint;

class frmProbe : public ui::Form {
public:
    static constexpr const char* kName = "frmProbe";
    frmProbe() : ui::Form(kName) {
        clientWidth = 6000;
        clientHeight = 4500;
        cmdB.tabIndex = 1;
        cmdA.tabIndex = 0;
        cmdC.tabIndex = 2;
        cmdA.Click = [this] { clicks.push_back("cmdA"); };
        cmdB.Click = [this] { clicks.push_back("cmdB"); };
        cmdC.Click = [this] { clicks.push_back("cmdC"); };
        chk.Click = [this] { clicks.push_back("chk " + std::to_string(chk.value())); };
        lbl.MouseDown = [this](int16_t b, int16_t, float x, float y) { mouse.push_back({b, x, y}); };
    }
    ui::Button cmdB{*this, "cmdB", {300, 1200, 1500, 450}, "B"};
    ui::Button cmdA{*this, "cmdA", {300, 300, 1500, 450}, "A"};
    ui::Button cmdC{*this, "cmdC", {300, 2100, 1500, 450}, "C"};
    ui::Frame fra{*this, "fra", {2400, 600, 3000, 2400}, "Frame"};
    ui::CheckBox chk{*this, "chk", {150, 450, 1800, 300}, "Check", &fra};
    ui::ProgressBar pb{*this, "pb", {150, 1200, 2400, 300}, &fra};
    ui::Label lbl{*this, "lbl", {300, 3300, 1500, 300}, "Label"};
    ui::Image img{*this, "img", {2400, 3300, 600, 600}, "tav.png"};
    ui::Label plain{*this, "plain", {3300, 3300, 1500, 300}, "No handlers"};
    std::vector<std::string> imgEvents;
    void logImage() {
        img.MouseDown = [this](int16_t, int16_t, float, float) { imgEvents.push_back("MouseDown"); };
        img.MouseUp = [this](int16_t, int16_t, float, float) { imgEvents.push_back("MouseUp"); };
        img.Click = [this] { imgEvents.push_back("Click"); };
        img.DblClick = [this] { imgEvents.push_back("DblClick"); };
    }

    struct Mouse {
        int16_t button;
        float x, y;
    };
    std::vector<std::string> clicks;
    std::vector<Mouse> mouse;
    std::vector<float> moves;
    int unloadRequests = 0;
    void Form_MouseMove(int16_t, int16_t, float x, float) override { moves.push_back(x); }
    void Form_Unload(int16_t& cancel) override {
        ++unloadRequests;
        cancel = 1;
    }
};

class frmTimer : public ui::Form {
public:
    static constexpr const char* kName = "frmTimer";
    frmTimer() : ui::Form(kName) { tmr.Tick = [this] { ++ticks; }; }
    ui::Timer tmr{*this, "tmr", 10};
    int ticks = 0;
};

class Win32HostTest : public ::testing::Test {
protected:
    Win32HostTest() { ui::setApp(&application); }
    ui::win32::Win32Host host{GetModuleHandleW(nullptr)};
    ui::Application application{host};

    HWND childOf(const ui::Control& c) {
        HWND form = ui::win32::Win32Host::windowOf(c.form());
        for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char text[64] = {};
            GetWindowTextA(h, text, sizeof text);
            const auto* captioned = dynamic_cast<const ui::CaptionedControl*>(&c);
            if (captioned && captioned->caption() == text) return h;
        }
        return nullptr;
    }
    RECT clientRectOf(HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST(Win32Pictures, EveryPictureOfTheFormsLoadsFromTheResources) {
    ui::win32::GdiplusSession gdiplus;
    struct Case {
        const char* name;
        UINT width, height;
    };
    const Case cases[] = {{"logo.png", 310, 38},        {"preferences.png", 24, 24}, {"background.png", 800, 551},
                          {"tav.png", 64, 64},          {"contact.png", 800, 400},   {"appointment.png", 1009, 415},
                          {"tools.png", 400, 220},      {"cleaner.png", 64, 64},     {"scanner.png", 64, 64}};
    for (const Case& c : cases) {
        Gdiplus::Bitmap* b = ui::win32::LoadPicture(c.name);
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->GetWidth(), c.width) << c.name;
        EXPECT_EQ(b->GetHeight(), c.height) << c.name;
    }
    EXPECT_EQ(ui::win32::LoadPicture("missing.png"), nullptr);
    for (int size : {16, 32}) EXPECT_NE(ui::win32::LoadIconPicture("tav.png", size), nullptr) << size;
}

TEST(Win32Chart, RunsGoOldestLeftToNewestRightWithGapsAtEmptyPoints) {
    const RECT plot{10, 0, 110, 100};  // 100 pixels wide and high
    using P = std::optional<double>;
    struct Case {
        const char* name;
        std::vector<P> points;
        std::vector<std::vector<ChartPoint>> runs;
    };
    const Case cases[] = {
        {"all empty", {P{}, P{}, P{}}, {}},
        {"one run", {P{0}, P{50}, P{100}}, {{{10, 100}, {60, 50}, {110, 0}}}},
        {"a gap splits the line", {P{25}, P{}, P{75}}, {{{10, 75}}, {{110, 25}}}},
        {"values outside the range are clamped", {P{-5}, P{}, P{}, P{}, P{150}}, {{{10, 100}}, {{110, 0}}}},
        {"two runs", {P{}, P{20}, P{40}, P{}, P{60}}, {{{35, 80}, {60, 60}}, {{110, 40}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto runs = ui::win32::ChartRuns(c.points, 0, 100, plot);
        ASSERT_EQ(runs.size(), c.runs.size());
        for (size_t i = 0; i < runs.size(); ++i) {
            ASSERT_EQ(runs[i].size(), c.runs[i].size());
            for (size_t j = 0; j < runs[i].size(); ++j) {
                EXPECT_FLOAT_EQ(runs[i][j].x, c.runs[i][j].x);
                EXPECT_FLOAT_EQ(runs[i][j].y, c.runs[i][j].y);
            }
        }
    }
}

class frmChartProbe : public ui::Form {
public:
    static constexpr const char* kName = "frmChartProbe";
    frmChartProbe() : ui::Form(kName) {
        clientWidth = 12300;
        clientHeight = 2400;
    }
    ui::Chart chart{*this, "chart", {60, 60, 11895, 1935}, 60};
};

// The chart's pixels as WM_PRINTCLIENT paints them, top row first.
std::vector<uint32_t> ChartPixels(HWND chart, int& width, int& height) {
    RECT client;
    GetClientRect(chart, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    SendMessageW(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A change of the points asks for a repaint of every pixel it changes, and on an idle machine
// of a low band only, not the whole chart.
TEST_F(Win32HostTest, AChartRepaintsThePixelsItsNewPointsChange) {
    frmChartProbe& f = application.form<frmChartProbe>();
    f.Show();
    HWND chart = FindWindowExW(ui::win32::Win32Host::windowOf(f), nullptr, L"TAVChart", nullptr);
    ASSERT_NE(chart, nullptr);
    using Points = std::function<std::optional<double>(int)>;
    auto set = [&f](const Points& value) {
        for (int row = 1; row <= f.chart.pointCount(); ++row) {
            f.chart.setRow(row);
            f.chart.setData(value(row));
        }
    };
    const Points idle = [](int row) { return std::optional<double>(row % 3); };
    const Points idleLater = [](int row) { return std::optional<double>((row + 1) % 3); };
    const Points busy = [](int row) { return std::optional<double>(row % 2 ? 90.0 : 10.0); };
    const Points gap = [](int row) { return row > 20 && row < 30 ? std::nullopt : std::optional<double>(50); };
    const Points lone = [](int row) { return row == 40 ? std::optional<double>(75) : std::nullopt; };
    struct Case {
        const char* name;
        Points before, after;
        bool lowBand;  // only a band along the bottom is repainted
    };
    const Case cases[] = {
        {"idle, a second later", idle, idleLater, true},
        {"idle to busy", idle, busy, false},
        {"busy to idle", busy, idle, false},
        {"a gap opens", busy, gap, false},
        {"a lone point", gap, lone, false},
        {"a lone point to a line", lone, idle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set(c.before);
        RedrawWindow(chart, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // on screen, as a user sees it
        int w = 0, h = 0;
        const std::vector<uint32_t> before = ChartPixels(chart, w, h);
        set(c.after);
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(chart, update, FALSE);
        RECT box{};
        GetRgnBox(update, &box);
        const std::vector<uint32_t> after = ChartPixels(chart, w, h);
        int changed = 0, outside = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (before[y * w + x] == after[y * w + x]) continue;
                ++changed;
                if (!PtInRegion(update, x, y)) ++outside;
            }
        }
        DeleteObject(update);
        EXPECT_GT(changed, 0);
        EXPECT_EQ(outside, 0) << "of " << changed << " changed pixels";
        if (c.lowBand) {
            EXPECT_LT(box.bottom - box.top, h / 3) << "repainted rows " << box.top << " to " << box.bottom;
        }
    }
}

TEST_F(Win32HostTest, ControlsSitAtTheirDesignPlaceInsideTheirFrames) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    HWND form = ui::win32::Win32Host::windowOf(f);
    ASSERT_NE(form, nullptr);
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, host.pxX(6000));
    EXPECT_EQ(client.bottom, host.pxY(4500));
    struct Case {
        const ui::CaptionedControl* control;
        float left, top;
    };
    const Case cases[] = {{&f.cmdA, 300, 300}, {&f.cmdB, 300, 1200}, {&f.chk, 2400 + 150, 600 + 450}};
    for (const Case& c : cases) {
        HWND h = childOf(*c.control);
        ASSERT_NE(h, nullptr) << c.control->name();
        const RECT r = clientRectOf(h);
        EXPECT_EQ(r.left, host.pxX(c.left)) << c.control->name();
        EXPECT_EQ(r.top, host.pxY(c.top)) << c.control->name();
        EXPECT_EQ(r.right - r.left, host.pxX(c.control->rect.width)) << c.control->name();
    }
}

TEST_F(Win32HostTest, TabOrderFollowsTheTabIndex) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    HWND form = ui::win32::Win32Host::windowOf(f);
    std::vector<HWND> order;
    HWND h = GetNextDlgTabItem(form, nullptr, FALSE);
    for (int i = 0; i < 3 && h; ++i, h = GetNextDlgTabItem(form, h, FALSE)) order.push_back(h);
    EXPECT_EQ(order, (std::vector<HWND>{childOf(f.cmdA), childOf(f.cmdB), childOf(f.cmdC)}));
    EXPECT_EQ(GetNextDlgTabItem(form, childOf(f.cmdA), TRUE), childOf(f.cmdC));  // Shift+Tab wraps
}

TEST_F(Win32HostTest, UserActionsReachTheHandlersAndModelChangesReachTheControls) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    SendMessageW(childOf(f.cmdB), BM_CLICK, 0, 0);
    SendMessageW(childOf(f.chk), BM_CLICK, 0, 0);
    host.doEvents();
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"cmdB", "chk 1"}));
    EXPECT_EQ(f.chk.value(), 1);

    f.chk.setValue(0);
    EXPECT_EQ(SendMessageW(childOf(f.chk), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    f.cmdC.setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(childOf(f.cmdC)));
    f.cmdA.setCaption("Renamed");
    EXPECT_NE(childOf(f.cmdA), nullptr);
    f.pb.setMax(182);
    f.pb.setValue(91);
    HWND pb = FindWindowExW(ui::win32::Win32Host::windowOf(f), nullptr, PROGRESS_CLASSW, nullptr);
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(SendMessageW(pb, PBM_GETPOS, 0, 0), 91);
    EXPECT_EQ(SendMessageW(pb, PBM_GETRANGE, FALSE, 0), 182);
}

TEST_F(Win32HostTest, MouseOnAPaintedLabelComesInTwipsRelativeToTheLabel) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    HWND form = ui::win32::Win32Host::windowOf(f);
    const int x = host.pxX(300) + 10, y = host.pxY(3300) + 4;
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    SendMessageW(form, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    SendMessageW(form, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    ASSERT_EQ(f.mouse.size(), 2u);
    EXPECT_EQ(f.mouse[0].button, ui::kLeftButton);
    EXPECT_EQ(f.mouse[1].button, ui::kRightButton);
    EXPECT_FLOAT_EQ(f.mouse[0].x, 10 * host.twipsPerPixelX());
    EXPECT_FLOAT_EQ(f.mouse[0].y, 4 * host.twipsPerPixelY());
}

TEST_F(Win32HostTest, ADoubleClickRaisesItsEventsInTheOrderOfAWindowsProgram) {
    frmProbe& f = application.form<frmProbe>();
    f.logImage();
    f.Load();
    HWND form = ui::win32::Win32Host::windowOf(f);
    const LPARAM at = MAKELPARAM(host.pxX(2400) + 5, host.pxY(3300) + 5);
    // What the window system sends for a double-click.
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form, WM_LBUTTONUP, 0, at);
    SendMessageW(form, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(form, WM_LBUTTONUP, 0, at);
    // A single click after it is a click again.
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(f.imgEvents, (std::vector<std::string>{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp", "MouseDown",
                                                      "MouseUp", "Click"}));
}

TEST_F(Win32HostTest, APaintedControlKeepsTheMouseFromTheFormBeneath) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    HWND form = ui::win32::Win32Host::windowOf(f);
    SendMessageW(form, WM_MOUSEMOVE, 0, MAKELPARAM(host.pxX(3300) + 5, host.pxY(3300) + 5));  // over the label
    EXPECT_TRUE(f.moves.empty());
    SendMessageW(form, WM_MOUSEMOVE, 0, MAKELPARAM(host.pxX(5000), host.pxY(300)));  // the background
    EXPECT_EQ(f.moves, (std::vector<float>{host.pxX(5000) * host.twipsPerPixelX()}));
}

TEST_F(Win32HostTest, TrayCallbackReachesTheOwnerAsAMouseMoveCarryingTheMessageCode) {
    frmProbe& f = application.form<frmProbe>();
    f.Load();
    ui::TrayIcon record;
    record.cbSize = 88;
    record.owner = &f;
    record.uID = 1;
    record.uFlags = 7;
    record.uCallbackMessage = WM_MOUSEMOVE;
    record.icon = "tav.png";
    std::memcpy(record.szTip, "TAV Dashboard", 14);
    host.trayIcon(ui::TrayRequest::Add, record);
    HWND form = ui::win32::Win32Host::windowOf(f);
    for (LPARAM code : {WM_RBUTTONUP, WM_LBUTTONDBLCLK}) SendMessageW(form, WM_MOUSEMOVE, 1, code);
    host.trayIcon(ui::TrayRequest::Delete, record);
    EXPECT_EQ(f.moves, (std::vector<float>{0x205 * host.twipsPerPixelX(), 0x203 * host.twipsPerPixelX()}));
}

TEST_F(Win32HostTest, CloseBoxIsAnUnloadRequestAndWindowStateIsReported) {
    frmProbe& f = application.form<frmProbe>();
    f.Show();
    HWND form = ui::win32::Win32Host::windowOf(f);
    SendMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(f.unloadRequests, 1);
    EXPECT_TRUE(IsWindow(form));
    ShowWindow(form, SW_MINIMIZE);
    host.doEvents();
    EXPECT_EQ(f.windowState(), ui::WindowState::Minimized);
    ShowWindow(form, SW_RESTORE);
    host.doEvents();
    EXPECT_EQ(f.windowState(), ui::WindowState::Normal);
}

TEST_F(Win32HostTest, MovesOfTheCodeMoveTheWindowAndTheWindowReportsItsGeometry) {
    frmProbe& f = application.form<frmProbe>();
    f.Show();
    HWND form = ui::win32::Win32Host::windowOf(f);
    f.move(host.twipsPerPixelX() * 40, host.twipsPerPixelY() * 30);
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    SetWindowPos(form, nullptr, 70, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    host.doEvents();
    EXPECT_FLOAT_EQ(f.left(), 70 * host.twipsPerPixelX());
    EXPECT_FLOAT_EQ(f.top(), 50 * host.twipsPerPixelY());
    EXPECT_FLOAT_EQ(f.width(), static_cast<float>(r.right - r.left) * host.twipsPerPixelX());
}

TEST_F(Win32HostTest, ApplicationWindowLiesJustBelowTheShownFormAndNotBelowAHiddenOne) {
    platform::InstanceWindowsWin32 instance("TAVDashboard-host-test");
    host.setApplicationWindow(instance.applicationWindow());
    frmProbe& f = application.form<frmProbe>();
    f.Show();
    HWND form = ui::win32::Win32Host::windowOf(f);
    EXPECT_EQ(GetWindow(instance.applicationWindow(), GW_HWNDPREV), form);
    f.Hide();
    EXPECT_NE(GetWindow(instance.applicationWindow(), GW_HWNDPREV), form);
    f.Show();
    EXPECT_EQ(GetWindow(instance.applicationWindow(), GW_HWNDPREV), form);
    host.setApplicationWindow(nullptr);
}

TEST_F(Win32HostTest, TimersTickThroughTheMessageLoop) {
    frmTimer& f = application.form<frmTimer>();
    f.Load();
    MSG m;
    while (f.ticks < 2 && GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    f.tmr.setEnabled(false);
    const int ticks = f.ticks;
    host.doEvents();
    EXPECT_EQ(f.ticks, ticks);
    EXPECT_GE(ticks, 2);
}

}  // namespace
