#pragma once
#include "platform/services.h"

namespace platform {

class FilesLinux : public Files {
public:
    std::string programFolder() override;
    std::string programName() override;
    char separator() const override { return '/'; }
    bool exists(const std::string& path) override;
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& bytes) override;
};

}  // namespace platform
