#include "platform/win32/launcher_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/text_win32.h"

namespace platform {

// The wide function, so that paths and addresses outside the ANSI code page survive; its
// result codes are the same as ShellExecuteA's.
int32_t LauncherWin32::open(const ShellRequest& request) {
    const std::wstring verb = Widen(request.verb), file = Widen(request.file);
    const std::wstring parameters = Widen(request.parameters), folder = Widen(request.folder);
    const HINSTANCE result =
        ShellExecuteW(reinterpret_cast<HWND>(request.owner), verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), folder.empty() ? nullptr : folder.c_str(),
                      request.showMode);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    return code > 32 ? shell_result::kSuccess : static_cast<int32_t>(code);
}

}  // namespace platform
