#include "ui/win32/win32_host.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <vector>

#include "platform/win32/text_win32.h"
#include "ui/application.h"
#include "ui/trace.h"
#include "ui/win32/win32_chart.h"

namespace ui::win32 {

using platform::Narrow;
using platform::Widen;

namespace {

constexpr wchar_t kFormClass[] = L"TAVForm";
constexpr int kFirstControlId = 1000;

// The 32-bit record size of a tray icon with a 64-character tip (NOTIFYICONDATAA_V1_SIZE there).
constexpr uint32_t kTrayRecordSize32 = 88;

}  // namespace

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
    std::map<UINT_PTR, Timer*> timers;
    HBITMAP layer = nullptr;  // background picture, shapes, lines and images, at client size
    SIZE layerSize{};
    HBITMAP back = nullptr;  // the frame being composed, at client size; kept between paints
    SIZE backSize{};
    Control* captured = nullptr;  // the painted control that got the mouse button press
    HWND lastFocus = nullptr;
    bool ready = false;     // creation finished: geometry and state changes are reported
    bool applying = false;  // the host itself is changing a control: no user events

    ~FormWindow() {
        if (layer) DeleteObject(layer);
        if (back) DeleteObject(back);
    }
};

namespace {

FormWindow* FromHwnd(HWND hwnd) { return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool IsFormWindow(HWND hwnd) {
    wchar_t cls[32] = {};
    return hwnd && GetClassNameW(hwnd, cls, 32) > 0 && lstrcmpW(cls, kFormClass) == 0 && FromHwnd(hwnd);
}
ControlWindow* CwOf(const Control& c) { return static_cast<ControlWindow*>(c.hostData); }

bool IsPainted(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::Image || k == ControlKind::Frame || k == ControlKind::Line ||
           k == ControlKind::Shape;
}

bool IsLayer(ControlKind k) { return k == ControlKind::Image || k == ControlKind::Line || k == ControlKind::Shape; }

// Shown unless the control or one of its frames is hidden.
bool Shown(const Control& c) {
    for (const Control* p = &c; p; p = p->container()) {
        if (!p->visible()) return false;
    }
    return true;
}

COLORREF Ref(const Color& c) { return RGB(c.r, c.g, c.b); }

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

std::wstring WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    // The length above may be larger than the text; the copy's own count is exact.
    const int got = GetWindowTextW(h, t.data(), n + 1);
    t.resize(static_cast<size_t>(std::clamp(got, 0, n)));
    return t;
}

SYSTEMTIME ToSystemTime(platform::Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(day);
    return st;
}

// Text of a label as it is drawn: single-line labels that do not fit grow to the right (the
// fonts may differ a little from the ones the layout was drawn with), long ones wrap.
struct LabelLayout {
    RECT rect;
    UINT format;
};

// A single-line caption that does not fit its label may take up to this many times the label's
// width (the average label's longest text needs a little over twice its width).
constexpr int kLabelGrowth = 3;

LabelLayout LayoutLabel(HDC dc, const Label& l, const RECT& designed) {
    const std::wstring text = Widen(l.caption());
    UINT format = DT_NOPREFIX | DT_WORDBREAK;
    if (l.alignment == Alignment::Right) format |= DT_RIGHT;
    if (l.alignment == Alignment::Center) format |= DT_CENTER;
    RECT r = designed;
    if (text.find(L'\n') == std::wstring::npos) {
        RECT need{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int designedW = designed.right - designed.left;
        const int needed = need.right + 2;
        if (needed > designedW && needed <= designedW * kLabelGrowth) {
            // Grows away from its aligned edge: left-aligned to the right, right-aligned to the left.
            format &= ~static_cast<UINT>(DT_WORDBREAK);
            if (l.alignment == Alignment::Left) r.right = r.left + needed;
            if (l.alignment == Alignment::Right) r.left = r.right - needed;
            if (l.alignment == Alignment::Center) {
                r.left -= (needed - designedW) / 2;
                r.right = r.left + needed;
            }
        }
    }
    return {r, format};
}

}  // namespace

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// ---------------------------------------------------------------------------------------------
// Painting of the form: the picture layer, then frames and labels, into one memory bitmap.

namespace {

RECT OffsetOf(const Control& c, const Win32Host& h);

void PaintLayer(FormWindow& fw, HDC dc, int w, int h) {
    Form& f = *fw.form;
    Gdiplus::Graphics g(dc);
    if (Gdiplus::Bitmap* bg = f.picture.empty() ? nullptr : LoadPicture(f.picture)) {
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        g.DrawImage(bg, Gdiplus::Rect(0, 0, w, h));
    } else {
        RECT all{0, 0, w, h};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (Control* c : f.controls()) {
        if (!IsLayer(c->kind()) || !Shown(*c) || !c->hostData) continue;
        const RECT r = CwOf(*c)->rect;
        switch (c->kind()) {
            case ControlKind::Image:
                if (Gdiplus::Bitmap* pic = LoadPicture(static_cast<Image*>(c)->picture)) {
                    g.DrawImage(pic, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
                }
                break;
            case ControlKind::Shape: {
                auto* s = static_cast<Shape*>(c);
                g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
                Gdiplus::GraphicsPath path;
                const float x = r.left + 0.5f, y = r.top + 0.5f;
                const float rw = static_cast<float>(r.right - r.left - 1), rh = static_cast<float>(r.bottom - r.top - 1);
                const float d = 8.0f;
                path.AddArc(x, y, d, d, 180, 90);
                path.AddArc(x + rw - d, y, d, d, 270, 90);
                path.AddArc(x + rw - d, y + rh - d, d, d, 0, 90);
                path.AddArc(x, y + rh - d, d, d, 90, 90);
                path.CloseFigure();
                if (s->fillColor) {
                    Gdiplus::SolidBrush fill(Gdiplus::Color(200, s->fillColor->r, s->fillColor->g, s->fillColor->b));
                    g.FillPath(&fill, &path);
                }
                Gdiplus::Pen pen(Gdiplus::Color(255, s->borderColor.r, s->borderColor.g, s->borderColor.b), 1.0f);
                g.DrawPath(&pen, &path);
                g.SetSmoothingMode(Gdiplus::SmoothingModeDefault);
                break;
            }
            case ControlKind::Line: {
                auto* l = static_cast<Line*>(c);
                const RECT origin = OffsetOf(*c, *fw.host);
                HPEN pen = CreatePen(PS_SOLID, 1, Ref(l->color));
                HGDIOBJ old = SelectObject(dc, pen);
                const int x1 = origin.left + fw.host->pxX(l->x1), y1 = origin.top + fw.host->pxY(l->y1);
                const int x2 = origin.left + fw.host->pxX(l->x2), y2 = origin.top + fw.host->pxY(l->y2);
                MoveToEx(dc, x1, y1, nullptr);
                LineTo(dc, x2, y2);
                SetPixel(dc, x2, y2, Ref(l->color));  // LineTo leaves out the last pixel
                SelectObject(dc, old);
                DeleteObject(pen);
                break;
            }
            default:
                break;
        }
    }
}

void PaintFrame(FormWindow& fw, HDC dc, HDC layer, const Frame& fr) {
    const RECT r = CwOf(fr)->rect;
    HGDIOBJ oldFont = SelectObject(dc, fw.host->font(fr.font));
    const std::wstring text = Widen(fr.caption());
    SIZE ts{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ts);
    RECT border = r;
    border.top += ts.cy / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
        RECT gap{r.left + 8, r.top, r.left + 8 + ts.cx, r.top + ts.cy};
        BitBlt(dc, gap.left, gap.top, gap.right - gap.left, gap.bottom - gap.top, layer, gap.left, gap.top, SRCCOPY);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, fr.enabled() ? (fr.foreColor ? Ref(*fr.foreColor) : GetSysColor(COLOR_WINDOWTEXT))
                                      : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), -1, &gap, DT_NOPREFIX | DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    SelectObject(dc, oldFont);
}

void PaintLabel(FormWindow& fw, HDC dc, const Label& l) {
    HGDIOBJ oldFont = SelectObject(dc, fw.host->font(l.font));
    LabelLayout lay = LayoutLabel(dc, l, CwOf(l)->rect);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, l.enabled() ? (l.foreColor ? Ref(*l.foreColor) : GetSysColor(COLOR_WINDOWTEXT))
                                 : GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = Widen(l.caption());
    DrawTextW(dc, text.c_str(), -1, &lay.rect, lay.format);
    SelectObject(dc, oldFont);
}

// A bitmap in the screen's format. The kept bitmaps are not made compatible with the paint
// target: that may be a memory DC of a themed control (WM_PRINTCLIENT), and a bitmap made
// from a memory DC that holds its default bitmap is monochrome.
HBITMAP ScreenBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return b;
}

void PaintForm(FormWindow& fw, HDC target, const RECT& clip) {
    RECT client;
    GetClientRect(fw.hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    HDC mem = CreateCompatibleDC(target);
    if (!fw.layer || fw.layerSize.cx != w || fw.layerSize.cy != h) {
        if (fw.layer) DeleteObject(fw.layer);
        fw.layer = ScreenBitmap(w, h);
        fw.layerSize = SIZE{w, h};
        HGDIOBJ old = SelectObject(mem, fw.layer);
        PaintLayer(fw, mem, w, h);
        SelectObject(mem, old);
    }
    // The back buffer is made once per client size, not on every paint: the labels of the
    // dashboard repaint twice a second for as long as the program runs.
    if (!fw.back || fw.backSize.cx != w || fw.backSize.cy != h) {
        if (fw.back) DeleteObject(fw.back);
        fw.back = ScreenBitmap(w, h);
        fw.backSize = SIZE{w, h};
    }
    if (!fw.layer || !fw.back) {  // out of GDI memory: nothing to draw with
        if (fw.layer) DeleteObject(fw.layer);
        if (fw.back) DeleteObject(fw.back);
        fw.layer = fw.back = nullptr;
        DeleteDC(mem);
        return;
    }
    HDC layerDc = CreateCompatibleDC(target);
    HGDIOBJ oldLayer = SelectObject(layerDc, fw.layer);
    HGDIOBJ oldFrame = SelectObject(mem, fw.back);
    IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
    BitBlt(mem, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, layerDc, clip.left, clip.top,
           SRCCOPY);
    for (Control* c : fw.form->controls()) {
        if (!c->hostData || !Shown(*c)) continue;
        if (c->kind() == ControlKind::Frame) PaintFrame(fw, mem, layerDc, *static_cast<Frame*>(c));
        if (c->kind() == ControlKind::Label) PaintLabel(fw, mem, *static_cast<Label*>(c));
    }
    BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top,
           SRCCOPY);
    SelectObject(mem, oldFrame);
    SelectObject(layerDc, oldLayer);
    DeleteDC(layerDc);
    DeleteDC(mem);
}

// The client position of a control's container (the form, or its frames added up).
RECT OffsetOf(const Control& c, const Win32Host& h) {
    RECT o{0, 0, 0, 0};
    for (const Control* p = c.container(); p; p = p->container()) {
        if (p->kind() != ControlKind::Frame) continue;
        o.left += h.pxX(p->rect.left);
        o.top += h.pxY(p->rect.top);
    }
    return o;
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
                if (c->MouseDown) c->MouseDown(button, shift, x, y);
                if (c->DblClick) c->DblClick();
                break;
            default:  // button released
                if (c->MouseUp) c->MouseUp(button, shift, x, y);
                if (msg == WM_LBUTTONUP && inside && c->Click) c->Click();
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
    Control* target = fw.captured;
    if (!target) {
        Control* hit = HitTest(fw, pt);
        if (hit && WantsMouse(*hit)) target = hit;
    }
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
                auto* box = static_cast<CheckBox*>(c);
                const int16_t v = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
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

}  // namespace

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
            auto it = fw->timers.find(wp);
            if (it != fw->timers.end()) it->second->fire();
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
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != hwnd) fw->captured = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpiX > 0) tppX_ = 1440.0f / static_cast<float>(dpiX);
    if (dpiY_ > 0) tppY_ = 1440.0f / static_cast<float>(dpiY_);
    else dpiY_ = 96;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
    RegisterChartClass(instance);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Host::~Win32Host() {
    for (auto& [key, f] : fonts_) DeleteObject(f);
}

void Win32Host::initCommonControls() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
}

HWND Win32Host::windowOf(const Form& f) {
    auto* fw = static_cast<FormWindow*>(f.hostData);
    return fw ? fw->hwnd : nullptr;
}

HFONT Win32Host::font(const Font& f) {
    const std::string key = f.name + "|" + std::to_string(f.size) + (f.bold ? "|b" : "");
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    const int height = -static_cast<int>(f.size * static_cast<float>(dpiY_) / 72.0f + 0.5f);
    HFONT h = CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          Widen(f.name).c_str());
    fonts_.emplace(key, h);
    return h;
}

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
    UINT_PTR nextTimer = 1;
    std::vector<std::pair<int, HWND>> tabStops;
    for (Control* c : f.controls()) {
        if (c->kind() == ControlKind::Menu) continue;  // menus are built when they pop up
        if (c->kind() == ControlKind::Timer) {
            auto* t = static_cast<Timer*>(c);
            c->hostData = reinterpret_cast<void*>(nextTimer);
            fw->timers[nextTimer++] = t;
            applyTimer(*t);
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
                case ControlKind::CheckBox: cs |= BS_AUTOCHECKBOX; break;
                case ControlKind::OptionButton: cs |= BS_RADIOBUTTON; break;
                case ControlKind::TextBox: {
                    auto* box = static_cast<TextBox*>(c);
                    cls = L"EDIT";
                    ex = WS_EX_CLIENTEDGE;
                    cs |= box->multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL) : ES_AUTOHSCROLL;
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
    for (const auto& [index, child] : tabStops) {
        SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child;
    }
    fw->ready = true;
    ReportGeometry(*fw);
}

void Win32Host::applyTimer(Timer& t) {
    auto* fw = static_cast<FormWindow*>(t.form().hostData);
    if (!fw || !fw->hwnd) return;
    const auto id = reinterpret_cast<UINT_PTR>(t.hostData);
    if (t.enabled() && t.interval() > 0) SetTimer(fw->hwnd, id, static_cast<UINT>(t.interval()), nullptr);
    else KillTimer(fw->hwnd, id);
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
                SendMessageW(h, BM_SETCHECK, static_cast<CheckBox&>(c).value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
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
            InvalidateRect(h, nullptr, FALSE);
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

void Win32Host::destroy(Form& f) {
    auto* fw = static_cast<FormWindow*>(f.hostData);
    if (!fw) return;
    if (trayRecord_.owner == &f) trayRecord_.owner = nullptr;
    for (Control* c : f.controls()) c->hostData = nullptr;
    f.hostData = nullptr;
    if (fw->hwnd) {
        for (const auto& [id, t] : fw->timers) KillTimer(fw->hwnd, id);
        SetWindowLongPtrW(fw->hwnd, GWLP_USERDATA, 0);
        DestroyWindow(fw->hwnd);
    }
    delete fw;
}

void Win32Host::show(Form& f) {
    HWND h = windowOf(f);
    if (!h) return;
    switch (f.windowState()) {
        case WindowState::Minimized: ShowWindow(h, SW_SHOWMINIMIZED); break;
        case WindowState::Maximized: ShowWindow(h, SW_SHOWMAXIMIZED); break;
        case WindowState::Normal: ShowWindow(h, SW_SHOWNORMAL); break;
    }
    // Showing brings the window forward; taking the foreground is setForeground's job.
    if (f.windowState() != WindowState::Minimized) BringWindowToTop(h);
    keepApplicationWindowBelow(h);
}

void Win32Host::hide(Form& f) {
    HWND h = windowOf(f);
    if (!h) return;
    ShowWindow(h, SW_HIDE);
    // A hidden form is no longer the window above the application window: a later instance
    // must not bring it back.
    if (appWindow_ && GetWindow(appWindow_, GW_HWNDPREV) == h) {
        SetWindowPos(appWindow_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32Host::keepApplicationWindowBelow(HWND shown) {
    if (!appWindow_ || !shown || GetWindow(appWindow_, GW_HWNDPREV) == shown) return;
    SetWindowPos(appWindow_, shown, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void Win32Host::formChanged(Form& f) {
    HWND h = windowOf(f);
    if (!h) return;
    const std::wstring caption = Widen(f.caption());
    if (WindowText(h) != caption) SetWindowTextW(h, caption.c_str());
    if (!IsWindowVisible(h)) return;  // a hidden form takes its state when it is shown
    switch (f.windowState()) {
        case WindowState::Minimized:
            if (!IsIconic(h)) ShowWindow(h, SW_MINIMIZE);
            break;
        case WindowState::Maximized:
            if (!IsZoomed(h)) ShowWindow(h, SW_MAXIMIZE);
            break;
        case WindowState::Normal:
            if (IsIconic(h) || IsZoomed(h)) ShowWindow(h, SW_RESTORE);
            break;
    }
}

void Win32Host::formMoved(Form& f) {
    HWND h = windowOf(f);
    if (!h || IsIconic(h)) return;
    RECT r;
    GetWindowRect(h, &r);
    const int x = pxX(f.left()), y = pxY(f.top());
    const int w = pxX(f.width()), hh = pxY(f.height());
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (f.width() <= 0 || (w == r.right - r.left && hh == r.bottom - r.top)) flags |= SWP_NOSIZE;
    if (x == r.left && y == r.top) flags |= SWP_NOMOVE;
    if ((flags & SWP_NOSIZE) && (flags & SWP_NOMOVE)) return;
    SetWindowPos(h, nullptr, x, y, w, hh, flags);
}

void Win32Host::controlChanged(Control& c) { applyControl(c); }

void Win32Host::refresh(Form& f) {
    if (HWND h = windowOf(f)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

MsgBoxResult Win32Host::msgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon, const std::string& title) {
    UINT flags = MB_SETFOREGROUND;
    switch (buttons) {
        case MsgBoxButtons::OK: flags |= MB_OK; break;
        case MsgBoxButtons::OKCancel: flags |= MB_OKCANCEL; break;
        case MsgBoxButtons::YesNo: flags |= MB_YESNO; break;
        case MsgBoxButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
        case MsgBoxButtons::RetryCancel: flags |= MB_RETRYCANCEL; break;
    }
    switch (icon) {
        case MsgBoxIcon::Critical: flags |= MB_ICONHAND; break;
        case MsgBoxIcon::Question: flags |= MB_ICONQUESTION; break;
        case MsgBoxIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MsgBoxIcon::Information: flags |= MB_ICONASTERISK; break;
        case MsgBoxIcon::None: break;
    }
    // Owned by the active form of this program, else modal for the whole program.
    HWND owner = GetActiveWindow();
    if (!IsFormWindow(owner)) owner = nullptr;
    if (!owner) flags |= MB_TASKMODAL;
    switch (MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags)) {
        case IDOK: return MsgBoxResult::OK;
        case IDYES: return MsgBoxResult::Yes;
        case IDNO: return MsgBoxResult::No;
        case IDRETRY: return MsgBoxResult::Retry;
        default: return MsgBoxResult::Cancel;
    }
}

// Keyboard messages of a form go through the dialog manager first (Tab, Shift+Tab, Enter, Escape).
void Win32Host::pump(MSG& m) {
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && m.hwnd) {
        HWND root = GetAncestor(m.hwnd, GA_ROOT);
        if (IsFormWindow(root) && IsDialogMessageW(root, &m)) {
            return;
        }
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
}

void Win32Host::doEvents() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        pump(m);
    }
}

int Win32Host::run() {
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) pump(m);
    return static_cast<int>(m.wParam);
}

bool Win32Host::sendTray(DWORD message) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    // The record carries the 32-bit size of the first version of the structure; the shell of
    // this build's architecture knows that version by its own size.
    nid.cbSize = trayRecord_.cbSize == kTrayRecordSize32 ? NOTIFYICONDATAA_V1_SIZE : trayRecord_.cbSize;
    nid.hWnd = trayRecord_.owner ? windowOf(*trayRecord_.owner) : nullptr;
    nid.uID = trayRecord_.uID;
    nid.uFlags = trayRecord_.uFlags;
    nid.uCallbackMessage = trayRecord_.uCallbackMessage;
    nid.hIcon = trayRecord_.icon.empty() ? nullptr : LoadIconPicture(trayRecord_.icon, GetSystemMetrics(SM_CXSMICON));
    static_assert(sizeof nid.szTip >= sizeof trayRecord_.szTip);
    std::memcpy(nid.szTip, trayRecord_.szTip, sizeof trayRecord_.szTip);
    return Shell_NotifyIconA(message, &nid) != FALSE;
}

bool Win32Host::trayIcon(TrayRequest request, const TrayIcon& record) {
    trayRecord_ = record;
    switch (request) {
        case TrayRequest::Add:
            trayAdded_ = true;
            return sendTray(NIM_ADD);
        case TrayRequest::Modify:
            return sendTray(NIM_MODIFY);
        case TrayRequest::Delete:
            trayAdded_ = false;
            return sendTray(NIM_DELETE);
    }
    return false;
}

void Win32Host::popupMenu(Menu& menu, Form& owner) {
    HWND h = windowOf(owner);
    if (!h) return;
    HMENU popup = CreatePopupMenu();
    std::map<UINT, Menu*> items;
    UINT id = 1;
    for (Menu* item : menu.items()) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(popup, MF_STRING | (item->enabled() ? MF_ENABLED : MF_GRAYED), id, Widen(item->caption()).c_str());
        items[id++] = item;
    }
    TraceMenu(menu);
    POINT pt;
    GetCursorPos(&pt);
    // The owner must be the foreground window, or the menu does not close when the user clicks
    // elsewhere; the posted message afterwards lets the next click work as usual.
    SetForegroundWindow(h);
    const UINT picked = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x, pt.y, 0, h, nullptr));
    PostMessageW(h, WM_NULL, 0, 0);
    DestroyMenu(popup);
    if (auto it = items.find(picked); it != items.end()) {
        Menu* item = it->second;
        app().dispatch([item] { if (item->Click) item->Click(); });
    }
}

void Win32Host::setForeground(Form& f) {
    if (HWND h = windowOf(f)) SetForegroundWindow(h);
}

float Win32Host::screenWidth() const { return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * tppX_; }
float Win32Host::screenHeight() const { return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * tppY_; }

void Win32Host::endProcess(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace ui::win32
