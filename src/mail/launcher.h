// Starting programs and opening documents and web pages through the desktop's shell, so the
// rest of the program never deals with file types or browsers. Neither routine shows anything.
#pragma once
#include <cstdint>
#include <string>

#include "platform/launcher.h"

namespace mShellExecute {

// A launch's failure as LaunchFile records it: the error number, its message, and the source
// (the program's file name without extension, then ".GShell").
struct LaunchError {
    int32_t number = 0;
    std::string message;
    std::string source;
};

// The error number and message of a shell result code from 0 to 32.
LaunchError DescribeShellResult(int32_t code);

// Opens FileName; true when the shell reports success. A file name containing ".EXE" in any
// letter case is started hidden unless both Parameters and Folder are empty, in which case the
// shell always gets a normal window (show mode 1). Never fails towards its caller.
bool LaunchFile(const std::string& FileName, int32_t ShowMode, const std::string& Parameters,
                const std::string& Folder, const std::string& Verb, platform::WindowHandle OwnerWindow);

// The failure of the last LaunchFile that failed.
const LaunchError& LastError();

// Opens a web address in the user's browser; the outcome is ignored.
void OpenWebPage(const std::string& Target);

}  // namespace mShellExecute
