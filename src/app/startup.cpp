#include "app/startup.h"

#include <cstdio>

#include "app/frm_systray.h"
#include "app/global_state.h"
#include "app/tray_icon.h"
#include "app/version.h"
#include "inventory/frm_sysinfo.h"
#include "platform/services.h"
#include "ui/application.h"
#include "update/auto_update.h"
#include "visits/frm_appt.h"
#include "visits/settings_file.h"
#include "visits/visit_schedule.h"

namespace app {

namespace {
// The version in the executable's bytes, where the store's release script finds it before it
// publishes the file as an update (announcing a version that the file is not would make every
// client update again at every start). Kept by the compiler though nothing reads it.
[[gnu::used]] const char kVersionMark[] = "TAVDashboard version " TAV_VERSION_TEXT ";";
}  // namespace

void RunStartup(frmSysTray& dash) {
    platform::Services& os = platform::services();

    // 1. Single instance.
    if (os.instance->earlierInstanceRunning()) modPreviousInstance::ActivatePreviousInstance();

    // 2. Self-update: may end the process.
    update::RunStartupUpdateCheck();

    // 3. Tray icon.
    modsystray::AddTrayIcon();

    // 4, 5. Hardware summary, copied into the dashboard once.
    inventory::CollectIntoDashboard();

    // 6. Settings (which also fill the visit dates).
    modINI::LoadSettings();

    // 7. Start with the session: registered again at every start while the switch is on.
    if (modGlobal::iStartWithWindows == 1) os.sessionStart->registerAtLogon();

    // 8. Visit display.
    visits::CheckVisit();

    // 9. Versioned title.
    dash.setCaption(VersionedTitle());

    // 10. Visibility.
    if (modGlobal::iMinimizeOnStartup == 1) {
        dash.cmdExit_Click();
    } else {
        dash.Show();
        dash.Refresh();
        // An appointment window opened by the visit check stays in front of the dashboard.
        if (ui::app().isLoaded<visits::frmAppt>()) ui::app().form<visits::frmAppt>().Show();
    }
}

std::string ClockTimeText(int hour, int minute) {
    int h12 = hour % 12 == 0 ? 12 : hour % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d %s", h12, minute, hour < 12 ? "AM" : "PM");
    return buf;
}

}  // namespace app

namespace modPreviousInstance {

void ActivatePreviousInstance() {
    platform::InstanceWindows& windows = *platform::services().instance;
    ui::Application& application = ui::app();

    const std::string sOldTitle = application.title;
    application.title = "unwanted instance";
    windows.setApplicationTitle(application.title);

    platform::WindowHandle found = 0;
    for (const char* cls : {"ThunderRTMain", "ThunderRT5Main", "ThunderRT6Main"}) {
        found = windows.findWindow(cls, sOldTitle);
        if (found != 0) break;
    }
    if (found == 0) return;

    platform::WindowHandle above = windows.windowAbove(found);
    windows.openIcon(above);
    windows.setForeground(above);
    application.host().endProcess(0);
}

}  // namespace modPreviousInstance
