#pragma once
#include <string>
#include <utility>

#include "platform/services.h"

namespace platform {

// Two ways to live on Linux. Beside its executable in a folder the user may write (copied there,
// as a store's technician or the tests do), the program keeps everything in that folder and
// updates itself. Installed by the package (the executable in the package's folder, or in any
// folder the user may not write), it keeps settings.ini in $XDG_CONFIG_HOME/TAVDashboard,
// looks for PROGRAMS under $XDG_DATA_HOME/TAVDashboard, and leaves updates to the package manager.
class FilesLinux : public Files {
public:
    // packageFolder: where the package installs the executable.
    explicit FilesLinux(std::string packageFolder = "/usr/bin") : packageFolder_(std::move(packageFolder)) {}
    std::string programFolder() override;
    std::string programName() override;
    std::string settingsFolder() override;
    std::string supportFolder() override;
    bool updatesItself() override { return !installed(); }
    char separator() const override { return '/'; }
    bool exists(const std::string& path) override;
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& bytes) override;
    bool append(const std::string& path, const std::string& bytes) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool makeFolder(const std::string& path) override;
    bool makeExecutable(const std::string& path) override;

private:
    bool installed();
    // The program's folder in an XDG base folder ($NAME/TAVDashboard, or ~/fallback/TAVDashboard),
    // made when missing.
    std::string userFolder(const char* name, const char* fallback);

    std::string packageFolder_;
};

}  // namespace platform
