#include "platform/linux/launcher_linux.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/linux/processes_linux.h"

extern char** environ;

namespace platform {

namespace {

using namespace shell_result;

// The shell result code of an errno from looking at or starting a file.
int32_t ResultOfErrno(int error, const std::string& path) {
    switch (error) {
        case EACCES:
        case EPERM: return kAccessDenied;
        case ENOEXEC: return kBadFormat;
        case ENOMEM:
        case E2BIG: return kOutOfMemory;
        case ENOTDIR: return kPathNotFound;
        case ENOENT: {
            // A missing file in a folder that exists, or a folder that does not.
            const size_t slash = path.rfind('/');
            if (slash == std::string::npos || slash == 0) return kFileNotFound;
            struct stat st {};
            return stat(path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? kFileNotFound : kPathNotFound;
        }
        default: return kFileNotFound;
    }
}

int32_t Spawn(const std::string& program, std::vector<std::string> args, const std::string& folder, bool searchPath) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid;
    const int error = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                                 : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? kSuccess : ResultOfErrno(error, program);
}

// The desktop's opener: xdg-open, else gio; neither installed means no association.
int32_t OpenWithDesktop(const std::string& target) {
    if (Spawn("xdg-open", {"xdg-open", target}, {}, true) == kSuccess) return kSuccess;
    if (Spawn("gio", {"gio", "open", target}, {}, true) == kSuccess) return kSuccess;
    return kNoAssociation;
}

}  // namespace

bool IsAddress(const std::string& file) {
    const size_t colon = file.find(':');
    // One letter before the colon is a Windows drive, not a scheme.
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(file[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = file[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

int32_t LauncherLinux::open(const ShellRequest& request) {
    const std::string& file = request.file;
    if (file.empty()) return kFileNotFound;
    if (IsAddress(file)) return OpenWithDesktop(file);

    // A relative name is looked for in the working folder, as the shell looks for it.
    const std::string path = file[0] != '/' && !request.folder.empty() ? request.folder + "/" + file : file;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return ResultOfErrno(errno, path);
    if (S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0) {
        std::vector<std::string> args{path};
        for (std::string& word : SplitCommandLine(request.parameters)) args.push_back(std::move(word));
        return Spawn(path, std::move(args), request.folder, false);
    }
    if (access(path.c_str(), R_OK) != 0) return kAccessDenied;
    return OpenWithDesktop(path);
}

}  // namespace platform
