// Realising a form: its window, its native controls (buttons, check and option buttons, text
// boxes, the date picker, the progress bar, the chart) and its timers; and applying the state of
// the window model's controls to them.
#include "ui/win32/win32_host.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/text_win32.h"
#include "ui/win32/win32_chart.h"
#include "ui/win32/win32_form_paint.h"
#include "ui/win32/win32_form_proc.h"
#include "ui/win32/win32_form_window.h"
#include "ui/win32/win32_pictures.h"

namespace ui::win32 {

using platform::Widen;

namespace {

constexpr int kFirstControlId = 1000;

SYSTEMTIME ToSystemTime(platform::Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(day);
    return st;
}

// Starts, restarts or stops the form's system timer when the base interval changed; while it
// stays, a running timer keeps its phase.
void ApplyBaseTimer(FormWindow& fw) {
    const int base = fw.timers ? fw.timers->baseInterval() : 0;
    if (base == fw.timerBase || !fw.hwnd) return;
    if (base > 0) SetTimer(fw.hwnd, kBaseTimerId, static_cast<UINT>(base), nullptr);
    else KillTimer(fw.hwnd, kBaseTimerId);
    fw.timerBase = base;
}

}  // namespace

void Win32Host::realize(Form& f) {
    auto* fw = new FormWindow;
    fw->form = &f;
    fw->host = this;
    f.hostData = fw;

    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (f.hasMaximizeBox) style |= WS_MAXIMIZEBOX;
    if (f.resizable) style |= WS_THICKFRAME;
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    RECT r{0, 0, pxX(f.clientWidth), pxY(f.clientHeight)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (f.centered) {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - w) / 2;
        y = work.top + (work.bottom - work.top - h) / 2;
    }
    CreateWindowExW(exStyle, kFormClass, Widen(f.caption()).c_str(), style, x, y, w, h, nullptr, nullptr, instance_, fw);
    HWND hwnd = fw->hwnd;
    if (!hwnd) return;
    if (!f.icon.empty()) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconPicture(f.icon, GetSystemMetrics(SM_CXICON))));
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(LoadIconPicture(f.icon, GetSystemMetrics(SM_CXSMICON))));
    }

    int nextId = kFirstControlId;
    std::vector<Timer*> timers;
    std::vector<std::pair<int, HWND>> tabStops;
    for (Control* c : f.controls()) {
        if (c->kind() == ControlKind::Menu) continue;  // menus are built when they pop up
        if (c->kind() == ControlKind::Timer) {
            timers.push_back(static_cast<Timer*>(c));
            c->hostData = nullptr;  // no window of its own: the form's schedule runs it
            continue;
        }
        auto cw = std::make_unique<ControlWindow>();
        const RECT origin = OffsetOf(*c, *this);
        cw->rect = RECT{origin.left + pxX(c->rect.left), origin.top + pxY(c->rect.top),
                        origin.left + pxX(c->rect.left + c->rect.width), origin.top + pxY(c->rect.top + c->rect.height)};
        cw->id = nextId++;
        c->hostData = cw.get();
        fw->byId[cw->id] = c;
        if (!IsPainted(c->kind())) {
            const wchar_t* cls = L"BUTTON";
            DWORD cs = WS_CHILD | WS_CLIPSIBLINGS;
            DWORD ex = 0;
            switch (c->kind()) {
                case ControlKind::Button:
                    cs |= (static_cast<Button*>(c)->isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY;
                    break;
                case ControlKind::CheckBox: cs |= BS_3STATE; break;  // the click is handled by the host
                case ControlKind::OptionButton: cs |= BS_RADIOBUTTON; break;
                case ControlKind::TextBox: {
                    auto* box = static_cast<TextBox*>(c);
                    cls = L"EDIT";
                    ex = WS_EX_CLIENTEDGE;
                    cs |= box->multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL) : ES_AUTOHSCROLL;
                    if (c->alignment == Alignment::Center) cs |= ES_CENTER;
                    if (c->alignment == Alignment::Right) cs |= ES_RIGHT;
                    if (box->locked) cs |= ES_READONLY;
                    break;
                }
                case ControlKind::DatePicker:
                    cls = DATETIMEPICK_CLASSW;
                    cs |= DTS_SHORTDATEFORMAT;
                    break;
                case ControlKind::ProgressBar: cls = PROGRESS_CLASSW; break;
                case ControlKind::Chart: cls = L"TAVChart"; break;
                default: break;
            }
            if (c->tabIndex >= 0) cs |= WS_TABSTOP;
            cw->hwnd = CreateWindowExW(ex, cls, L"", cs, cw->rect.left, cw->rect.top, cw->rect.right - cw->rect.left,
                                       cw->rect.bottom - cw->rect.top, hwnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(cw->id)), instance_,
                                       c->kind() == ControlKind::Chart ? static_cast<void*>(c) : nullptr);
            if (cw->hwnd) {
                SendMessageW(cw->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(c->font)), FALSE);
                if (c->tabIndex >= 0) tabStops.emplace_back(c->tabIndex, cw->hwnd);
            }
        }
        fw->controls.push_back(std::move(cw));
        applyControl(*c);
    }
    // The dialog manager walks the children in z-order: put the tab stops first, in tab order.
    std::stable_sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    HWND after = HWND_TOP;
    const Control* previous = nullptr;
    for (const auto& [index, child] : tabStops) {
        SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child;
        // The option buttons of one container form a group, in which the arrow keys move; every
        // other control starts a group of its own.
        const Control* c = fw->byId[GetDlgCtrlID(child)];
        const bool sameGroup = previous && c->kind() == ControlKind::OptionButton &&
                               previous->kind() == ControlKind::OptionButton && previous->container() == c->container();
        if (!sameGroup) SetWindowLongPtrW(child, GWL_STYLE, GetWindowLongPtrW(child, GWL_STYLE) | WS_GROUP);
        previous = c;
    }
    fw->timers = std::make_unique<TimerSchedule>(timers);
    ApplyBaseTimer(*fw);
    fw->ready = true;
    ReportGeometry(*fw);
}

void Win32Host::applyTimer(Timer& t) {
    auto* fw = static_cast<FormWindow*>(t.form().hostData);
    if (!fw || !fw->timers) return;
    fw->timers->timerChanged(t);
    ApplyBaseTimer(*fw);
}

void Win32Host::applyControl(Control& c) {
    if (c.kind() == ControlKind::Timer) {
        applyTimer(static_cast<Timer&>(c));
        return;
    }
    ControlWindow* cw = CwOf(c);
    auto* fw = static_cast<FormWindow*>(c.form().hostData);
    if (!cw || !fw || !fw->hwnd) return;
    if (!cw->hwnd) {
        // Painted controls: repaint where they are (labels may have grown to the right).
        RECT r = cw->rect;
        if (c.kind() == ControlKind::Label) {
            // A caption that does not fit grows beside its box (see LayoutLabel).
            const int grow = (r.right - r.left) * (kLabelGrowth - 1);
            r.left -= grow;
            r.right += grow;
        }
        if (IsLayer(c.kind()) && fw->layer) {
            DeleteObject(fw->layer);
            fw->layer = nullptr;
            GetClientRect(fw->hwnd, &r);
        }
        if (c.kind() == ControlKind::Frame) {
            // A frame's visibility or state applies to what it contains.
            for (Control* inner : c.form().controls()) {
                if (inner->container() == &c && inner != &c && inner->hostData && CwOf(*inner)->hwnd) {
                    ShowWindow(CwOf(*inner)->hwnd, Shown(*inner) ? SW_SHOWNA : SW_HIDE);
                }
            }
        }
        InvalidateRect(fw->hwnd, &r, FALSE);
        return;
    }
    HWND h = cw->hwnd;
    fw->applying = true;
    EnableWindow(h, c.enabled());
    switch (c.kind()) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            const std::wstring text = Widen(static_cast<CaptionedControl&>(c).caption());
            if (WindowText(h) != text) SetWindowTextW(h, text.c_str());
            if (c.kind() == ControlKind::CheckBox) {
                const int16_t v = static_cast<CheckBox&>(c).value();
                SendMessageW(h, BM_SETCHECK, v == 1 ? BST_CHECKED : v == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
            }
            if (c.kind() == ControlKind::OptionButton) {
                SendMessageW(h, BM_SETCHECK, static_cast<OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            break;
        }
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(c);
            const std::wstring text = Widen(box.text());
            if (WindowText(h) != text) SetWindowTextW(h, text.c_str());
            SendMessageW(h, EM_SETREADONLY, box.locked ? TRUE : FALSE, 0);
            break;
        }
        case ControlKind::DatePicker: {
            SYSTEMTIME st = ToSystemTime(static_cast<DatePicker&>(c).value());
            SendMessageW(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
            break;
        }
        case ControlKind::ProgressBar: {
            auto& p = static_cast<ProgressBar&>(c);
            SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(p.min()), static_cast<LPARAM>(p.max()));
            SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(p.value()), 0);
            break;
        }
        case ControlKind::Chart:
            InvalidateChartLine(h);
            break;
        default:
            break;
    }
    const bool shown = Shown(c);
    if ((IsWindowVisible(h) != 0) != shown || !(GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) == shown) {
        ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
    }
    fw->applying = false;
}

}  // namespace ui::win32
