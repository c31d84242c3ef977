// The Linux program: the Qt host and the Linux platform services, then the dashboard.
#include <QApplication>
#include <vector>

#include "app/frm_systray.h"
#include "platform/linux/clock_linux.h"
#include "platform/linux/crypto_linux.h"
#include "platform/linux/drives_linux.h"
#include "platform/linux/files_linux.h"
#include "platform/curl/mail_curl.h"
#include "platform/curl/http_curl.h"
#include "platform/linux/instance_windows_linux.h"
#include "platform/linux/launcher_linux.h"
#include "platform/linux/management_linux.h"
#include "platform/linux/processes_linux.h"
#include "platform/linux/session_start_linux.h"
#include "platform/linux/system_times_linux.h"
#include "platform/linux/uptime_linux.h"
#include "platform/services.h"
#include "store_config.h"
#include "ui/application.h"
#include "ui/qt/qt_host.h"

int main(int argc, char** argv) {
    // The dashboard repaints a few small rectangles a second. Through X's shared-memory images
    // each repaint waits for a round trip to the X server before the next may draw; plain
    // image requests on the connection need none, and the shared segment's memory is saved.
    // Qt's own event loop on poll(2) instead of GLib's: each of the dashboard's wake-ups costs
    // fewer system calls and touches less memory. Nothing here needs GLib's main loop.
    // Both are read while the application is made, and are not passed on to the programs the
    // dashboard starts.
    std::vector<const char*> setHere;
    for (const char* name : {"QT_XCB_NO_MITSHM", "QT_NO_GLIB"}) {
        if (qEnvironmentVariableIsEmpty(name)) {
            qputenv(name, "1");
            setHere.push_back(name);
        }
    }
    QApplication qapp(argc, argv);
    for (const char* name : setHere) qunsetenv(name);
    QApplication::setApplicationName("TAVDashboard");
    QApplication::setDesktopFileName("TAVDashboard");

    ui::qt::QtHost host;
    ui::Application application(host);
    ui::setApp(&application);

    platform::ClockLinux clock;
    platform::FilesLinux files(TAV_PACKAGE_BINDIR);
    platform::ProcessesLinux processes;
    platform::SessionStartLinux sessionStart(files);
    platform::SystemTimesLinux systemTimes;
    platform::UptimeCounterLinux uptime;
    platform::LauncherLinux launcher;
    platform::MailCurl mail(store::MailServer());
    platform::HttpCurl http;
    platform::CryptoLinux crypto;
    platform::ManagementLinux management;
    platform::DrivesLinux drives;
    platform::InstanceWindowsLinux instance(application.title, [&host, &application](bool restore) {
        application.dispatch([&host, restore] { host.bringForwardShownWindow(restore); });
    });
    platform::Services& services = platform::services();
    services.clock = &clock;
    services.files = &files;
    services.processes = &processes;
    services.sessionStart = &sessionStart;
    services.instance = &instance;
    services.systemTimes = &systemTimes;
    services.uptime = &uptime;
    services.launcher = &launcher;
    services.mail = &mail;
    services.http = &http;
    services.crypto = &crypto;
    services.management = &management;
    services.drives = &drives;

    application.dispatch([&application] { application.form<app::frmSysTray>().Load(); });
    return QApplication::exec();
}
