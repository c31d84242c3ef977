// The Win32 side of forms and controls: each form's window, the windows of its native controls
// and the rectangles of the controls painted on it; and the small lookups between the window
// model and the windows that the host's files share.
#pragma once
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/timer_schedule.h"
#include "ui/win32/win32_host.h"

namespace ui::win32 {

// The window class of the forms.
constexpr UINT_PTR kBaseTimerId = 1;  // the system timer of a form's timers

constexpr wchar_t kFormClass[] = L"TAVForm";

// The Win32 side of one control.
struct ControlWindow {
    HWND hwnd = nullptr;  // null for the controls painted on the form
    RECT rect{};          // in the form's client coordinates
    int id = 0;
};

// The Win32 side of one form.
struct FormWindow {
    Form* form = nullptr;
    Win32Host* host = nullptr;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<ControlWindow>> controls;
    std::map<int, Control*> byId;
    std::unique_ptr<TimerSchedule> timers;  // all the form's timers, on one system timer
    int timerBase = 0;                      // the interval that system timer runs at; 0: stopped
    HBITMAP layer = nullptr;  // background picture, shapes, lines and images, at client size
    SIZE layerSize{};
    HBITMAP back = nullptr;  // the frame being composed, at client size; kept between paints
    SIZE backSize{};
    Control* captured = nullptr;  // the painted control that got the mouse button press
    bool afterDouble = false;     // the next left-button release ends a double-click
    HWND lastFocus = nullptr;
    bool ready = false;     // creation finished: geometry and state changes are reported
    bool applying = false;  // the host itself is changing a control: no user events

    ~FormWindow() {
        if (layer) DeleteObject(layer);
        if (back) DeleteObject(back);
    }
};

inline FormWindow* FromHwnd(HWND hwnd) { return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

inline bool IsFormWindow(HWND hwnd) {
    wchar_t cls[32] = {};
    return hwnd && GetClassNameW(hwnd, cls, 32) > 0 && lstrcmpW(cls, kFormClass) == 0 && FromHwnd(hwnd);
}
inline ControlWindow* CwOf(const Control& c) { return static_cast<ControlWindow*>(c.hostData); }

inline bool IsPainted(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::Image || k == ControlKind::Frame || k == ControlKind::Line ||
           k == ControlKind::Shape;
}

inline bool IsLayer(ControlKind k) { return k == ControlKind::Image || k == ControlKind::Line || k == ControlKind::Shape; }

// Shown unless the control or one of its frames is hidden.
inline bool Shown(const Control& c) {
    for (const Control* p = &c; p; p = p->container()) {
        if (!p->visible()) return false;
    }
    return true;
}

inline std::wstring WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    // The length above may be larger than the text; the copy's own count is exact.
    const int got = GetWindowTextW(h, t.data(), n + 1);
    t.resize(static_cast<size_t>(std::clamp(got, 0, n)));
    return t;
}

// The client position of a control's container (the form, or its frames added up).
inline RECT OffsetOf(const Control& c, const Win32Host& h) {
    RECT o{0, 0, 0, 0};
    for (const Control* p = c.container(); p; p = p->container()) {
        if (p->kind() != ControlKind::Frame) continue;
        o.left += h.pxX(p->rect.left);
        o.top += h.pxY(p->rect.top);
    }
    return o;
}

}  // namespace ui::win32
