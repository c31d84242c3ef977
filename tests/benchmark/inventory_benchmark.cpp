// Times one hardware-summary collection with the platform's real services, as a start of the
// program runs it: fresh services, one GetAllData. Prints the milliseconds, and with "-v" the
// four texts. Run once per process so that every run pays what a start pays.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "inventory/frm_sysinfo.h"
#include "support/fake_host.h"
#include "support/fake_platform.h"
#include "ui/application.h"

#ifdef _WIN32
#include "platform/win32/clock_win32.h"
#include "platform/win32/drives_win32.h"
#include "platform/win32/management_wmi_win32.h"
#else
#include <QCoreApplication>

#include "platform/linux/clock_linux.h"
#include "platform/linux/drives_linux.h"
#include "platform/linux/management_linux.h"
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    QCoreApplication loop(argc, argv);  // the adapters are reported through an event loop
    platform::ClockLinux clock;
#else
    platform::ClockWin32 clock;
#endif
    const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    fakes::FakePlatform os;  // the services the collection does not use
    fakes::FakeHost host;
    auto application = std::make_unique<ui::Application>(host);
    ui::setApp(application.get());

    const auto start = std::chrono::steady_clock::now();
#ifdef _WIN32
    platform::ManagementWmi management;
    platform::DrivesWin32 drives;
#else
    platform::ManagementLinux management;
    platform::DrivesLinux drives;
#endif
    platform::services().clock = &clock;
    platform::services().management = &management;
    platform::services().drives = &drives;
    inventory::frmSysInfo& info = application->form<inventory::frmSysInfo>();
    info.Load();
    info.GetAllData();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::printf("%.2f\n", ms);
    if (verbose) {
        for (const auto* field : {&info.text2, &info.text3, &info.text4, &info.text5}) {
            std::printf("%s\n", field->text().c_str());
        }
    }
    application.reset();
    return 0;
}
