#include "platform/linux/processes_linux.h"

#include <signal.h>
#include <spawn.h>

extern char** environ;

namespace platform {

ProcessesLinux::ProcessesLinux() {
    // Started programs are never waited for: let the kernel reap them.
    signal(SIGCHLD, SIG_IGN);
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

// Window modes have no meaning for the programs started here; they open their own windows.
bool ProcessesLinux::start(const std::string& commandLine, WindowMode) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) return false;
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
}

// The path is the program itself, not a command line: it is never split or searched for.
bool ProcessesLinux::startProgram(const std::string& path, WindowMode) {
    if (path.empty()) return false;
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid;
    return posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) == 0;
}

}  // namespace platform
