// Times one hardware-summary collection with the platform's real services, as a start of the
// program runs it: fresh services, one GetAllData. Prints the milliseconds, and with "-v" the
// four texts. Run once per process so that every run pays what a start pays.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>
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

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// Passes every query on to the real service and notes how long each took, by class.
class TimedManagement : public platform::Management {
public:
    explicit TimedManagement(platform::Management& real) : real_(real) {}
    std::optional<std::vector<platform::ManagementRecord>> instancesOf(const std::string& className,
                                                                       const std::vector<std::string>& properties) override {
        const auto start = Clock::now();
        auto result = real_.instancesOf(className, properties);
        times.emplace_back(className, MsSince(start));
        return result;
    }
    bool instancesOfAsync(const std::string& className, std::function<void()> onInstance) override {
        const auto start = Clock::now();
        const bool started = real_.instancesOfAsync(className, std::move(onInstance));
        times.emplace_back(className + " (started)", MsSince(start));
        return started;
    }
    std::optional<platform::ManagementRecord> object(const std::string& path,
                                                     const std::vector<std::string>& properties) override {
        return real_.object(path, properties);
    }
    std::vector<std::pair<std::string, double>> times;

private:
    platform::Management& real_;
};

}  // namespace

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

    const auto start = Clock::now();
#ifdef _WIN32
    platform::ManagementWmi real;
    platform::DrivesWin32 drives;
#else
    platform::ManagementLinux real;
    platform::DrivesLinux drives;
#endif
    const double setUp = MsSince(start);
    TimedManagement management(real);
    platform::services().clock = &clock;
    platform::services().management = &management;
    platform::services().drives = &drives;
    inventory::frmSysInfo& info = application->form<inventory::frmSysInfo>();
    info.Load();
    info.GetAllData();
    const double ms = MsSince(start);

    std::printf("%.2f\n", ms);
    if (verbose) {
        double queries = 0;
        std::printf("  services set up: %.2f ms\n", setUp);
        for (const auto& [what, t] : management.times) {
            std::printf("  %s: %.2f ms\n", what.c_str(), t);
            queries += t;
        }
        std::printf("  drive lines and the rest: %.2f ms\n", ms - setUp - queries);
        for (const auto* field : {&info.text2, &info.text3, &info.text4, &info.text5}) {
            std::printf("%s\n", field->text().c_str());
        }
    }
    application.reset();
    return 0;
}
