#pragma once
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform {

// Starts programs with posix_spawn and never waits for them.
class ProcessesLinux : public Processes {
public:
    ProcessesLinux();
    bool start(const std::string& commandLine, WindowMode mode) override;
    bool startProgram(const std::string& path, WindowMode mode) override;
};

// Splits a command line into words: blanks separate, double quotes group.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace platform
