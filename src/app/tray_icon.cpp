#include "app/tray_icon.h"

#include <cstring>

#include "app/frm_menu.h"
#include "app/frm_systray.h"
#include "app/global_state.h"
#include "ui/application.h"
#include "ui/host.h"

namespace modsystray {

namespace {
constexpr uint32_t NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4;
constexpr uint32_t WM_MOUSEMOVE = 0x200;
constexpr uint32_t kRecordSize = 88;  // the record's size with a 64-character tip
constexpr char kTip[] = "TAV Dashboard";
}  // namespace

void AddTrayIcon() {
    app::frmMenu& owner = ui::app().form<app::frmMenu>();
    owner.Load();
    ui::TrayIcon& nid = modGlobal::nidTray;
    nid.cbSize = kRecordSize;
    nid.owner = &owner;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_MOUSEMOVE;
    nid.icon = app::Dashboard().icon;
    // The tip, its terminating NUL, then spaces to the end of the field.
    std::memset(nid.szTip, ' ', sizeof nid.szTip);
    std::memcpy(nid.szTip, kTip, sizeof kTip);
    ui::Host& host = ui::app().host();
    host.trayIcon(ui::TrayRequest::Add, nid);
    host.trayIcon(ui::TrayRequest::Modify, nid);
}

void DeleteTrayIcon() { ui::app().host().trayIcon(ui::TrayRequest::Delete, modGlobal::nidTray); }

}  // namespace modsystray
