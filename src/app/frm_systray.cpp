#include "app/frm_systray.h"

#include <cstdio>

#include "app/frm_menu.h"
#include "app/frm_tools.h"
#include "app/global_state.h"
#include "app/startup.h"
#include "app/tray_icon.h"
#include "app/version.h"
#include "monitor/cpu_timer.h"
#include "platform/services.h"
#include "mail/frm_email.h"
#include "mail/launcher.h"
#include "store_config.h"
#include "ui/application.h"
#include "ui/msgbox.h"
#include "visits/frm_appt.h"
#include "visits/frm_pref.h"
#include "visits/visit_schedule.h"

namespace app {

using ui::Rect;

namespace {
const ui::Font kArialBold{"Arial", 9.75f, true};
const ui::Color kFrameCaption{40, 50, 168};
}  // namespace

frmSysTray& Dashboard() { return ui::app().form<frmSysTray>(); }

frmSysTray::frmSysTray()
    : ui::Form(kName),
      Line1(*this, "Line1", 0, 510, 12000, 510),
      Shape2(*this, "Shape2", Rect{270, 75, 5565, 615}),
      Image1(*this, "Image1", Rect{750, 100, 4650, 540}, "logo.png"),
      lblHeader(*this, "lblHeader", Rect{5985, 120, 3300, 375}, "TAV Dashboard"),
      imgPref(*this, "imgPref", Rect{9480, 90, 360, 360}, "preferences.png"),
      Shape1(*this, "Shape1", Rect{10040, 120, 1635, 825}),
      lblTime(*this, "lblTime", Rect{10050, 120, 1605, 495}, "12:00 PM"),
      lblDate(*this, "lblDate", Rect{10050, 600, 1605, 315}, "8/16/2016"),
      cmdContactUs(*this, "cmdContactUs", Rect{270, 1080, 3045, 705}, "Contact Us"),
      cmdConnectTech(*this, "cmdConnectTech", Rect{270, 2070, 3045, 705}, "Connect to Tech"),
      cmdLaunchTools(*this, "cmdLaunchTools", Rect{240, 3090, 3045, 705}, "Launch Tools"),
      cmdAppt(*this, "cmdAppt", Rect{240, 4110, 3045, 705}, "Schedule Appt"),
      cmdExit(*this, "cmdExit", Rect{240, 5010, 3045, 705}, "Exit"),
      Frame2(*this, "Frame2", Rect{4140, 1020, 7545, 1485}, " General Info "),
      Label3(*this, "Label3", Rect{420, 480, 930, 225}, "Last Visit: ", &Frame2),
      lblLastStoreVisit(*this, "lblLastStoreVisit", Rect{1425, 480, 915, 225}, "5/31/1977", &Frame2),
      Label8(*this, "Label8", Rect{5145, 480, 930, 225}, "Next Visit: ", &Frame2),
      lblNextStoreVisit(*this, "lblNextStoreVisit", Rect{6150, 480, 915, 225}, "5/31/1977", &Frame2),
      pbLastStoreVisit(*this, "pbLastStoreVisit", Rect{495, 810, 6555, 315}, &Frame2),
      Frame1(*this, "Frame1", Rect{4140, 2700, 7545, 3015}, " System Info "),
      Label7(*this, "Label7", Rect{570, 390, 555, 315}, "O/S: ", &Frame1),
      lblOS(*this, "lblOS", Rect{1200, 390, 6135, 345}, "lblOS", &Frame1),
      Label4(*this, "Label4", Rect{480, 810, 645, 315}, "CPU: ", &Frame1),
      lblCPU(*this, "lblCPU", Rect{1200, 810, 6135, 345}, "lblCPU", &Frame1),
      Label5(*this, "Label5", Rect{240, 1260, 885, 315}, "Memory: ", &Frame1),
      lblMemory(*this, "lblMemory", Rect{1200, 1260, 6135, 345}, "lblMemory", &Frame1),
      Label6(*this, "Label6", Rect{120, 1710, 1005, 315}, "Hard Drive: ", &Frame1),
      lblHDD(*this, "lblHDD", Rect{1200, 1710, 6315, 1215}, "Text1", true, &Frame1),
      Line2(*this, "Line2", 0, 6000, 12000, 6000),
      chartCPU(*this, "chartCPU", Rect{60, 6030, 11895, 1935}, 60),
      lblCPUAvg(*this, "lblCPUAvg", Rect{750, 7950, 1710, 240}, "AVG CPU Usage:  "),
      lblSysUptime(*this, "lblSysUptime", Rect{4830, 7950, 1605, 240}, "System Uptime:  "),
      lblUsage(*this, "lblUsage", Rect{8580, 7950, 1995, 240}, "Current CPU Usage:  "),
      tmrDateTime(*this, "tmrDateTime", 2000),
      tmrGetCPU(*this, "tmrGetCPU", 500),
      tmrVisit(*this, "tmrVisit", 60000),
      Menu(*this, "Menu", "File"),
      mnuShowDash(*this, "mnuShowDash", "Show Dashboard", &Menu),
      sep(*this, "sep", "-", &Menu),
      mnuContact(*this, "mnuContact", "Contact TAV", &Menu),
      mnuConnect(*this, "mnuConnect", "Connect to Tech", &Menu),
      mnuLaunchTools(*this, "mnuLaunchTools", "Launch Tools", &Menu),
      mnuScheduleAppt(*this, "mnuScheduleAppt", "Schedule Appt", &Menu),
      sep2(*this, "sep2", "-", &Menu),
      mnuExit(*this, "mnuExit", "Exit", &Menu) {
    setCaption("TAV Dashboard");
    clientWidth = 12000;
    clientHeight = 8265;
    font = ui::Font{"Calibri", 9.75f, false};
    icon = "tav.png";
    picture = "background.png";

    lblHeader.font = ui::Font{"Calibri", 14.25f, true};
    imgPref.toolTip = "Preferences";
    lblTime.font = ui::Font{"Calibri", 18, true};
    lblTime.alignment = ui::Alignment::Center;
    lblDate.font = ui::Font{"Calibri", 12, false};
    lblDate.alignment = ui::Alignment::Center;
    Frame1.foreColor = Frame2.foreColor = kFrameCaption;
    Frame1.font.bold = Frame2.font.bold = true;
    for (ui::Label* caption : {&Label3, &Label8, &Label7, &Label4, &Label5, &Label6}) {
        caption->alignment = ui::Alignment::Right;
    }
    lblLastStoreVisit.font.bold = lblNextStoreVisit.font.bold = true;
    lblHDD.locked = true;
    lblCPUAvg.font = lblSysUptime.font = lblUsage.font = kArialBold;

    int tab = 0;
    for (ui::Button* b : {&cmdContactUs, &cmdConnectTech, &cmdLaunchTools, &cmdAppt, &cmdExit}) b->tabIndex = tab++;

    cmdExit.Click = [this] { cmdExit_Click(); };
    cmdAppt.Click = [this] { cmdAppt_Click(); };
    cmdLaunchTools.Click = [this] { cmdLaunchTools_Click(); };
    cmdContactUs.Click = [this] { cmdContactUs_Click(); };
    cmdConnectTech.Click = [this] { cmdConnectTech_Click(); };
    imgPref.DblClick = [this] { imgPref_DblClick(); };
    lblHeader.MouseDown = [this](int16_t b, int16_t s, float x, float y) { lblHeader_MouseDown(b, s, x, y); };
    lblHeader.MouseMove = [this](int16_t b, int16_t s, float x, float y) { lblHeader_MouseMove(b, s, x, y); };
    lblHeader.MouseUp = [this](int16_t b, int16_t s, float x, float y) { lblHeader_MouseUp(b, s, x, y); };
    tmrDateTime.Tick = [this] { tmrDateTime_Timer(); };
    tmrGetCPU.Tick = [this] { tmrGetCPU_Timer(); };
    tmrVisit.Tick = [this] { tmrVisit_Timer(); };
    mnuShowDash.Click = [this] { mnuShowDash_Click(); };
    mnuContact.Click = [this] { mnuContact_Click(); };
    mnuConnect.Click = [this] { mnuConnect_Click(); };
    mnuLaunchTools.Click = [this] { mnuLaunchTools_Click(); };
    mnuScheduleAppt.Click = [this] { mnuScheduleAppt_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
}

void frmSysTray::Form_Initialize() { host().initCommonControls(); }

void frmSysTray::Form_Load() { RunStartup(*this); }

// Every unload request only hides the dashboard: it stays loaded and its timers keep running.
void frmSysTray::Form_Unload(int16_t& cancel) {
    setWindowState(ui::WindowState::Minimized);
    Hide();
    cancel = modGlobal::kTrue;
}

// Minimising does not hide the dashboard into the tray; only unload requests do.
void frmSysTray::Form_Resize() {}

void frmSysTray::cmdExit_Click() { Unload(); }

namespace {

// The actions of the buttons and of the tray menu bring a hidden dashboard back first, then
// open their window, or bring it forward when it is open already.
template <class Window>
void ShowDashboardThen(frmSysTray& dash) {
    dash.setWindowState(ui::WindowState::Normal);
    dash.Show();
    ui::app().form<Window>().Show();
}

std::string RemoteSupportPath() {
    platform::Files& files = *platform::services().files;
    std::string folder = files.supportFolder();
    if (folder.empty() || folder.back() != files.separator()) folder += files.separator();
    return folder + "PROGRAMS" + files.separator() + store::kRemoteSupportName;
}

}  // namespace

void frmSysTray::cmdAppt_Click() { ShowDashboardThen<visits::frmAppt>(*this); }
void frmSysTray::cmdLaunchTools_Click() { ShowDashboardThen<frmTools>(*this); }
void frmSysTray::cmdContactUs_Click() { ShowDashboardThen<mEmail::frmEmail>(*this); }

void frmSysTray::cmdConnectTech_Click() {
    setWindowState(ui::WindowState::Normal);
    Show();
    const ui::MsgBoxResult answer =
        ui::MsgBox("You must contact us before requesting remote assistance.  Have you already done so?",
                   ui::MsgBoxButtons::YesNo);
    if (answer != ui::MsgBoxResult::Yes) {
        cmdContactUs_Click();
        return;
    }
    const std::string path = RemoteSupportPath();
    if (mShellExecute::LaunchFile(path, 10, "", "", "open", 0)) return;
    // The client answered Yes and waits for the program: say why nothing happens.
    const mShellExecute::LaunchError& error = mShellExecute::LastError();
    const bool missing = error.number == 53 || error.number == 76;
    ui::MsgBox(std::string(missing ? "The remote-support program is missing from this computer. It was looked for at\n"
                                   : "The remote-support program could not be started from\n") +
               path + "\n\nPlease call " + store::kName + " at " + store::kPhone +
               ": a technician will help you connect.");
}

// The preferences window shows itself when it loads; an open one is left as it is.
void frmSysTray::imgPref_DblClick() {
    if (!ui::app().isLoaded<visits::frmPref>()) ui::app().form<visits::frmPref>().Load();
}

void frmSysTray::lblHeader_MouseDown(int16_t button, int16_t, float x, float y) {
    if (button != ui::kLeftButton) return;
    modGlobal::bDragging = modGlobal::kTrue;
    modGlobal::sngDragX = x;
    modGlobal::sngDragY = y;
}

void frmSysTray::lblHeader_MouseUp(int16_t, int16_t, float, float) { modGlobal::bDragging = modGlobal::kFalse; }

// Keeps the header under the mouse at the point where it was grabbed. A window as wide as
// the screen first shrinks to three quarters of the screen.
void frmSysTray::lblHeader_MouseMove(int16_t, int16_t, float x, float y) {
    if (windowState() == ui::WindowState::Maximized || modGlobal::bDragging == modGlobal::kFalse) return;
    const float screenW = host().screenWidth();
    const float screenH = host().screenHeight();
    if (width() == screenW) resize(screenW / 4.0f + screenW / 2.0f, screenH / 4.0f + screenH / 2.0f);
    move(x - modGlobal::sngDragX + left(), y - modGlobal::sngDragY + top());
}

void frmSysTray::tmrDateTime_Timer() {
    const platform::LocalTime now = platform::services().clock->now();
    lblDate.setCaption(platform::shortDateText(now.date));
    lblTime.setCaption(ClockTimeText(now.hour, now.minute));
}

void frmSysTray::tmrGetCPU_Timer() { monitor::OnCpuTimerTick(*this); }

void frmSysTray::tmrVisit_Timer() {
    ++iMin;
    if (iMin >= 240) {
        visits::CheckVisit();
        iMin = 0;
    }
}

void frmSysTray::mnuShowDash_Click() {
    setWindowState(ui::WindowState::Normal);
    Show();
}

void frmSysTray::mnuContact_Click() { cmdContactUs_Click(); }
void frmSysTray::mnuConnect_Click() { cmdConnectTech_Click(); }
void frmSysTray::mnuLaunchTools_Click() { cmdLaunchTools_Click(); }
void frmSysTray::mnuScheduleAppt_Click() { cmdAppt_Click(); }

// Quits at once: the icon goes first so that no dead icon stays in the tray.
void frmSysTray::mnuExit_Click() {
    Hide();
    modsystray::DeleteTrayIcon();
    host().endProcess(0);
}

}  // namespace app
