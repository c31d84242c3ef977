#include "ui/win32/win32_host.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <cstdio>

#include "platform/win32/text_win32.h"
#include "ui/application.h"
#include "ui/trace.h"
#include "ui/win32/win32_chart.h"
#include "ui/win32/win32_form_proc.h"
#include "ui/win32/win32_form_window.h"

namespace ui::win32 {

using platform::Widen;

namespace {

// The 32-bit record size of a tray icon with a 64-character tip (NOTIFYICONDATAA_V1_SIZE there).
constexpr uint32_t kTrayRecordSize32 = 88;

}  // namespace

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
    const std::string key = f.name + "|" + std::to_string(f.size) + (f.bold ? "|b" : "") + (f.underline ? "|u" : "");
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    const int height = -static_cast<int>(f.size * static_cast<float>(dpiY_) / 72.0f + 0.5f);
    HFONT h = CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline ? TRUE : FALSE, FALSE,
                          DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          Widen(f.name).c_str());
    fonts_.emplace(key, h);
    return h;
}

void Win32Host::destroy(Form& f) {
    auto* fw = static_cast<FormWindow*>(f.hostData);
    if (!fw) return;
    if (trayRecord_.owner == &f) trayRecord_.owner = nullptr;
    for (Control* c : f.controls()) c->hostData = nullptr;
    f.hostData = nullptr;
    if (fw->hwnd) {
        KillTimer(fw->hwnd, kBaseTimerId);
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
