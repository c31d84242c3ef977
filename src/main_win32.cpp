// The Windows program: the Win32 host and the Win32 platform services, then the dashboard.
#include <windows.h>

#include "app/frm_systray.h"
#include "platform/curl/mail_curl.h"
#include "platform/win32/http_wininet_win32.h"
#include "platform/services.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/crypto_win32.h"
#include "platform/win32/drives_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/instance_windows_win32.h"
#include "platform/win32/launcher_win32.h"
#include "platform/win32/management_wmi_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/session_start_win32.h"
#include "platform/win32/system_times_win32.h"
#include "platform/win32/uptime_win32.h"
#include "store_config.h"
#include "ui/application.h"
#include "ui/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ui::win32::Win32Host host(instance);
    ui::Application application(host);
    ui::setApp(&application);

    platform::ClockWin32 clock;
    platform::FilesWin32 files;
    platform::ProcessesWin32 processes;
    platform::SessionStartWin32 sessionStart(processes);
    platform::InstanceWindowsWin32 instanceWindows(application.title);
    platform::SystemTimesWin32 systemTimes;
    platform::UptimeCounterWin32 uptime;
    platform::LauncherWin32 launcher;
    platform::MailCurl mail(store::MailServer());
    platform::HttpWinInet http;
    platform::CryptoWin32 crypto;
    platform::ManagementWmi management;
    platform::DrivesWin32 drives;
    host.setApplicationWindow(instanceWindows.applicationWindow());

    platform::Services& services = platform::services();
    services.clock = &clock;
    services.files = &files;
    services.processes = &processes;
    services.sessionStart = &sessionStart;
    services.instance = &instanceWindows;
    services.systemTimes = &systemTimes;
    services.uptime = &uptime;
    services.launcher = &launcher;
    services.mail = &mail;
    services.http = &http;
    services.crypto = &crypto;
    services.management = &management;
    services.drives = &drives;

    application.dispatch([&application] { application.form<app::frmSysTray>().Load(); });
    return host.run();
}
