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
    bool append(const std::string& path, const std::string& bytes) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool makeFolder(const std::string& path) override;
    bool makeExecutable(const std::string& path) override;
};

}  // namespace platform
