#include "ui/win32/win32_form_proc.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "platform/win32/text_win32.h"
#include "ui/application.h"
#include "ui/win32/win32_form_paint.h"
#include "ui/win32/win32_form_window.h"

namespace ui::win32 {

using platform::Narrow;

namespace {

int16_t Buttons(WPARAM wp) {
    int16_t b = 0;
    if (wp & MK_LBUTTON) b |= kLeftButton;
    if (wp & MK_RBUTTON) b |= kRightButton;
    if (wp & MK_MBUTTON) b |= kMiddleButton;
    return b;
}

int16_t ShiftState() {
    int16_t s = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) s |= 1;
    if (GetKeyState(VK_CONTROL) & 0x8000) s |= 2;
    if (GetKeyState(VK_MENU) & 0x8000) s |= 4;
    return s;
}

// The painted control under a client point, topmost first: labels and frames above the pictures.
Control* HitTest(FormWindow& fw, POINT pt) {
    const auto& all = fw.form->controls();
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            Control* c = *it;
            const ControlKind k = c->kind();
            const bool wanted = pass == 0 ? (k == ControlKind::Label || k == ControlKind::Frame) : k == ControlKind::Image;
            if (!wanted || !c->hostData || !Shown(*c) || !c->enabled()) continue;
            if (PtInRect(&CwOf(*c)->rect, pt)) return c;
        }
    }
    return nullptr;
}

bool WantsMouse(const Control& c) { return c.MouseDown || c.MouseMove || c.MouseUp || c.Click || c.DblClick; }

// Mouse events on a painted control, in twips relative to the control.
void MouseToControl(FormWindow& fw, Control* c, UINT msg, int16_t button, POINT pt) {
    // A double-click is down, up, double-click, up: its events are MouseDown, MouseUp, Click,
    // DblClick and MouseUp, as the form designer's controls raise them; the second release
    // is no click of its own.
    const bool afterDouble = msg == WM_LBUTTONUP && fw.afterDouble;
    if (msg == WM_LBUTTONDBLCLK) fw.afterDouble = true;
    else if (msg == WM_LBUTTONUP || msg == WM_LBUTTONDOWN) fw.afterDouble = false;
    const RECT& r = CwOf(*c)->rect;
    const float x = static_cast<float>(pt.x - r.left) * fw.host->twipsPerPixelX();
    const float y = static_cast<float>(pt.y - r.top) * fw.host->twipsPerPixelY();
    const int16_t shift = ShiftState();
    const bool inside = PtInRect(&r, pt) != 0;
    app().dispatch([=] {
        switch (msg) {
            case WM_MOUSEMOVE:
                if (c->MouseMove) c->MouseMove(button, shift, x, y);
                break;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                if (c->MouseDown) c->MouseDown(button, shift, x, y);
                break;
            case WM_LBUTTONDBLCLK:
                if (c->DblClick) c->DblClick();
                break;
            default:  // button released
                if (c->MouseUp) c->MouseUp(button, shift, x, y);
                if (msg == WM_LBUTTONUP && inside && !afterDouble && c->Click) c->Click();
                break;
        }
    });
}

void OnMouse(FormWindow& fw, UINT msg, WPARAM wp, LPARAM lp) {
    Form* f = fw.form;
    Win32Host& host = *fw.host;
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    int16_t button = 0;
    switch (msg) {
        case WM_MOUSEMOVE: button = Buttons(wp); break;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: button = kLeftButton; break;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: button = kRightButton; break;
        default: button = kMiddleButton; break;
    }
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
    const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    // The mouse over a painted control is that control's, even when it has no handler: the form
    // beneath sees only its own background.
    Control* target = fw.captured ? fw.captured : HitTest(fw, pt);
    if (target && !WantsMouse(*target)) return;
    if (target) {
        if (down) {
            fw.captured = target;
            SetCapture(fw.hwnd);
        }
        const HWND hwnd = fw.hwnd;
        MouseToControl(fw, target, msg, button, pt);
        if (up && (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
            // The handler may have unloaded the form, and with it fw.
            if (FromHwnd(hwnd) == &fw) fw.captured = nullptr;
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        return;
    }
    const float x = static_cast<float>(pt.x) * host.twipsPerPixelX();
    const float y = static_cast<float>(pt.y) * host.twipsPerPixelY();
    const int16_t shift = ShiftState();
    if (msg == WM_MOUSEMOVE) app().dispatch([=] { f->Form_MouseMove(button, shift, x, y); });
    if (up) app().dispatch([=] { f->Form_MouseUp(button, shift, x, y); });
}

Control* ControlOfHwnd(FormWindow& fw, HWND h) {
    for (Control* c : fw.form->controls()) {
        if (c->hostData && CwOf(*c)->hwnd == h) return c;
    }
    return nullptr;
}

bool IsPushButton(FormWindow& fw, HWND h) {
    Control* c = h ? ControlOfHwnd(fw, h) : nullptr;
    return c && c->kind() == ControlKind::Button;
}

Button* FindButton(FormWindow& fw, bool cancel) {
    for (Control* c : fw.form->controls()) {
        if (c->kind() != ControlKind::Button || !c->hostData || !c->enabled() || !Shown(*c)) continue;
        auto* b = static_cast<Button*>(c);
        if (cancel ? b->isCancel : b->isDefault) return b;
    }
    return nullptr;
}

// The focused button is the default one while it has the focus; otherwise the form's default button.
void UpdateDefaultButton(FormWindow& fw) {
    HWND focus = GetFocus();
    const bool focusIsButton = IsPushButton(fw, focus);
    for (Control* c : fw.form->controls()) {
        if (c->kind() != ControlKind::Button || !c->hostData) continue;
        HWND h = CwOf(*c)->hwnd;
        const bool def = focusIsButton ? h == focus : static_cast<Button*>(c)->isDefault;
        const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        const bool isDef = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (def != isDef) SendMessageW(h, BM_SETSTYLE, def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void ClickButton(Button* b) {
    if (!b) return;
    app().dispatch([b] { if (b->Click) b->Click(); });
}

HWND FirstTabStop(FormWindow& fw) { return GetNextDlgTabItem(fw.hwnd, nullptr, FALSE); }

void FocusControl(FormWindow& fw, HWND next) {
    if (!next) return;
    SetFocus(next);
    wchar_t cls[16] = {};
    GetClassNameW(next, cls, 16);
    if (lstrcmpiW(cls, L"Edit") == 0) SendMessageW(next, EM_SETSEL, 0, -1);
    UpdateDefaultButton(fw);
}

void OnCommand(FormWindow& fw, WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    if (id == IDOK || id == IDCANCEL) {  // Enter and Escape from the dialog manager
        if (id == IDCANCEL) {
            ClickButton(FindButton(fw, true));
            return;
        }
        HWND focus = GetFocus();
        if (IsPushButton(fw, focus)) ClickButton(static_cast<Button*>(ControlOfHwnd(fw, focus)));
        else ClickButton(FindButton(fw, false));
        return;
    }
    auto it = fw.byId.find(id);
    if (it == fw.byId.end()) return;
    Control* c = it->second;
    HWND h = reinterpret_cast<HWND>(lp);
    switch (c->kind()) {
        case ControlKind::Button:
            if (code == BN_CLICKED) ClickButton(static_cast<Button*>(c));
            if (code == BN_SETFOCUS || code == BN_KILLFOCUS) UpdateDefaultButton(fw);
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                // A click checks an unchecked or greyed box and clears a checked one.
                auto* box = static_cast<CheckBox*>(c);
                const int16_t v = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
                SendMessageW(h, BM_SETCHECK, v == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
                app().dispatch([box, v] { box->userSet(v); });
            }
            break;
        case ControlKind::OptionButton:
            if (code == BN_CLICKED) {
                auto* opt = static_cast<OptionButton*>(c);
                app().dispatch([opt] { opt->userSelect(); });
            }
            break;
        case ControlKind::TextBox:
            if (code == EN_CHANGE && !fw.applying) {
                auto* box = static_cast<TextBox*>(c);
                const std::string t = Narrow(WindowText(h));
                if (t != box->text()) app().dispatch([box, t] { box->userSet(t); });
            }
            break;
        default:
            break;
    }
}

void OnNotify(FormWindow& fw, const NMHDR* hdr) {
    auto it = fw.byId.find(static_cast<int>(hdr->idFrom));
    if (it == fw.byId.end() || fw.applying) return;
    Control* c = it->second;
    if (c->kind() == ControlKind::DatePicker && hdr->code == DTN_DATETIMECHANGE) {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(hdr);
        if (change->dwFlags != GDT_VALID) return;
        auto* picker = static_cast<DatePicker*>(c);
        const platform::Date d = platform::Date::fromYmd(change->st.wYear, change->st.wMonth, change->st.wDay);
        if (d != picker->value()) app().dispatch([picker, d] { picker->userSet(d); });
    }
}

}  // namespace

void ReportGeometry(FormWindow& fw) {
    if (!fw.ready || IsIconic(fw.hwnd)) return;
    RECT r;
    GetWindowRect(fw.hwnd, &r);
    Form* f = fw.form;
    const float tx = fw.host->twipsPerPixelX(), ty = fw.host->twipsPerPixelY();
    app().dispatch([=] {
        f->hostGeometry(r.left * tx, r.top * ty, static_cast<float>(r.right - r.left) * tx,
                        static_cast<float>(r.bottom - r.top) * ty);
    });
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* created = static_cast<FormWindow*>(cs->lpCreateParams);
        created->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    FormWindow* fw = FromHwnd(hwnd);
    if (!fw || !fw->form) return DefWindowProcW(hwnd, msg, wp, lp);
    Form* f = fw->form;
    Win32Host& host = *fw->host;

    if (host.taskbarCreated_ && msg == host.taskbarCreated_) {
        // The shell started again: the icon has to be added again.
        if (host.trayAdded_ && host.trayRecord_.owner == f) host.sendTray(NIM_ADD);
        return 0;
    }
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (!IsRectEmpty(&ps.rcPaint)) PaintForm(*fw, dc, ps.rcPaint);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {  // themed controls draw the form behind their rounded corners
            RECT client;
            GetClientRect(hwnd, &client);
            PaintForm(*fw, reinterpret_cast<HDC>(wp), client);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            Control* c = ControlOfHwnd(*fw, reinterpret_cast<HWND>(lp));
            if (c && (c->kind() == ControlKind::CheckBox || c->kind() == ControlKind::OptionButton)) {
                SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            }
            break;
        }
        case WM_CLOSE:
            app().dispatch([f] { f->hostCloseRequest(); });
            return 0;
        case WM_MOVE:
            ReportGeometry(*fw);
            return 0;
        case WM_SIZE: {
            if (fw->ready) {
                const WindowState s = wp == SIZE_MINIMIZED   ? WindowState::Minimized
                                      : wp == SIZE_MAXIMIZED ? WindowState::Maximized
                                                             : WindowState::Normal;
                if (wp == SIZE_MINIMIZED || wp == SIZE_MAXIMIZED || wp == SIZE_RESTORED) {
                    app().dispatch([f, s] { f->hostWindowState(s); });
                }
            }
            ReportGeometry(*fw);
            return 0;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
            if (!(pos->flags & SWP_NOZORDER) && IsWindowVisible(hwnd)) host.keepApplicationWindowBelow(hwnd);
            break;  // DefWindowProc sends WM_MOVE and WM_SIZE
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) fw->lastFocus = focus;
            } else {
                if (IsWindowVisible(hwnd)) host.keepApplicationWindowBelow(hwnd);
                HWND target = fw->lastFocus && IsWindow(fw->lastFocus) ? fw->lastFocus : FirstTabStop(*fw);
                if (target) FocusControl(*fw, target);
            }
            return 0;
        case WM_SETFOCUS: {
            HWND target = fw->lastFocus && IsWindow(fw->lastFocus) ? fw->lastFocus : FirstTabStop(*fw);
            if (target) FocusControl(*fw, target);
            return 0;
        }
        case WM_NEXTDLGCTL: {  // Tab and Shift+Tab from the dialog manager
            HWND next = lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd, GetFocus(), wp != 0);
            FocusControl(*fw, next);
            return 0;
        }
        case DM_GETDEFID: {
            HWND focus = GetFocus();
            Control* c = IsPushButton(*fw, focus) ? ControlOfHwnd(*fw, focus) : FindButton(*fw, false);
            return c ? MAKELRESULT(CwOf(*c)->id, DC_HASDEFID) : 0;
        }
        case WM_COMMAND:
            OnCommand(*fw, wp, lp);
            return 0;
        case WM_NOTIFY:
            OnNotify(*fw, reinterpret_cast<const NMHDR*>(lp));
            return 0;
        case WM_TIMER: {
            if (wp == kBaseTimerId && fw->timers) fw->timers->tick();
            return 0;
        }
        case WM_MOUSEMOVE:
            // The tray icon's callback arrives at its owner as a mouse move whose lParam is the
            // mouse message: the form receives it with x = that code in pixels.
            if (host.trayAdded_ && host.trayRecord_.owner == f && host.trayRecord_.uCallbackMessage == WM_MOUSEMOVE) {
                const float x = static_cast<float>(LOWORD(lp)) * host.twipsPerPixelX();
                app().dispatch([f, x] { f->Form_MouseMove(0, 0, x, 0); });
                return 0;
            }
            OnMouse(*fw, msg, wp, lp);
            return 0;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP:
            OnMouse(*fw, msg, wp, lp);
            return 0;
        case WM_SETCURSOR: {
            // The hand over links; every other place gets the class's arrow.
            if (reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT) {
                POINT pt;
                GetCursorPos(&pt);
                ScreenToClient(hwnd, &pt);
                Control* c = HitTest(*fw, pt);
                if (c && c->mousePointer == MousePointer::Hand) {
                    SetCursor(LoadCursor(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != hwnd) fw->captured = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace ui::win32
