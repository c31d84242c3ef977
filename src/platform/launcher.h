// Opening a program, a document or a web address the way the desktop's shell opens it.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = uintptr_t;

struct ShellRequest {
    WindowHandle owner = 0;  // owner of anything the shell itself shows; 0 for none
    std::string verb;        // "open", or empty for the default action
    std::string file;        // program, document or address
    std::string parameters;  // command-line parameters of a program; may be empty
    std::string folder;      // working folder; may be empty
    int32_t showMode = 1;    // window show mode of the started program (0 hidden, 1 normal, 10 default)
};

// Shell result codes of failures (success is any value above 32).
namespace shell_result {
inline constexpr int32_t kOutOfMemory = 0;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kPathNotFound = 3;
inline constexpr int32_t kAccessDenied = 5;
inline constexpr int32_t kBadFormat = 11;
inline constexpr int32_t kNoAssociation = 31;
inline constexpr int32_t kSuccess = 42;  // what a successful open reports here
}  // namespace shell_result

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts or opens the request's file without waiting for it; returns a value above 32 on
    // success, otherwise the failure's shell result code (0 to 32).
    virtual int32_t open(const ShellRequest& request) = 0;
};

}  // namespace platform
