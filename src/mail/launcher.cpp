#include "mail/launcher.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "platform/services.h"

namespace mShellExecute {

namespace {

// The base error number of a shell result: 0x80040000 + 1048 + code, as a 32-bit integer.
int32_t BaseNumber(int32_t code) { return static_cast<int32_t>(0x80040418u + static_cast<uint32_t>(code)); }

LaunchError g_lastError;

}  // namespace

LaunchError DescribeShellResult(int32_t code) {
    switch (code) {
        case 0: return {7, "Out of memory", {}};
        case 2: return {53, "File not found", {}};
        case 3: return {76, "Path not found", {}};
        case 5: return {75, "Path/file access error", {}};
        case 8: return {7, "Out of memory", {}};
        case 11: return {BaseNumber(code), "The executable file is invalid or corrupt", {}};
        case 26: return {75, "A sharing violation occurred.", {}};
        case 27: return {BaseNumber(code), "This file type does not have a valid file association.", {}};
        case 28: return {286, "The file could not be opened due to time out.  Please try again in a moment.", {}};
        case 29:
            return {285, "The file could not be opened because the DDE transaction failed.  Please try again in a moment.", {}};
        case 30:
            return {285, "The file could not be opened because the target application is busy.  Please try again in a moment.", {}};
        case 31: return {BaseNumber(code), "No application is associated with this file type.", {}};
        case 32: return {48, "The specified dynamic-link library was not found.", {}};
        default:
            return {BaseNumber(code), "An error occurred occurred whilst trying to open or print the selected file.", {}};
    }
}

bool LaunchFile(const std::string& FileName, int32_t ShowMode, const std::string& Parameters,
                const std::string& Folder, const std::string& Verb, platform::WindowHandle OwnerWindow) {
    std::string upper = FileName;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    if (upper.find(".EXE") != std::string::npos) ShowMode = 0;

    platform::ShellRequest request;
    request.owner = OwnerWindow;
    request.verb = Verb;
    request.file = FileName;
    if (Parameters.empty() && Folder.empty()) {
        request.showMode = 1;
    } else {
        request.parameters = Parameters;
        request.folder = Folder;
        request.showMode = ShowMode;
    }
    int32_t result = platform::shell_result::kOutOfMemory;
    try {
        result = platform::services().launcher->open(request);
    } catch (const std::exception&) {
        // Absorbed: the launch counts as failed.
    }
    if (result < 0 || result > 32) return true;
    g_lastError = DescribeShellResult(result);
    try {
        g_lastError.source = platform::services().files->programName() + ".GShell";
    } catch (const std::exception&) {
        g_lastError.source = ".GShell";
    }
    return false;
}

const LaunchError& LastError() { return g_lastError; }

void OpenWebPage(const std::string& Target) {
    platform::ShellRequest request;
    request.verb = "Open";
    request.file = Target;
    request.showMode = 1;
    try {
        platform::services().launcher->open(request);
    } catch (const std::exception&) {
        // The outcome is ignored.
    }
}

}  // namespace mShellExecute
