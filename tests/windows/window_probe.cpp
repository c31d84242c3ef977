// Looks at the windows of a running Wine (or Windows) session for the integration tests.
// Every command prints one line of key=value pairs and exits 0 when it found its window, 1 otherwise.
//   find CLASS TITLE        a top-level window by class and title ("-": any)
//   above CLASS TITLE       the window just above that one in the z-order
//   window TITLE            state and screen rectangle of a top-level window
//   child TITLE TEXT        screen rectangle of a child window (a button) by its text
//   client TITLE            screen rectangle of a top-level window's client area
//   minimize TITLE          minimises a top-level window
//   menu                    the pop-up menu that is open: rectangle and item texts
//   press CLASS TITLE TEXT  clicks the button TEXT of a top-level window (a message box: #32770)
//   button CLASS TITLE TEXT the button TEXT of a top-level window, without clicking it
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* Arg(const char* a) { return std::strcmp(a, "-") == 0 ? nullptr : a; }

void PrintWindow(HWND h) {
    char cls[128] = {}, text[256] = {};
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    RECT r{};
    GetWindowRect(h, &r);
    std::printf("hwnd=%p class=%s visible=%d iconic=%d rect=%ld,%ld,%ld,%ld pid=%lu title=%s\n", static_cast<void*>(h),
                cls, IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0, r.left, r.top, r.right, r.bottom,
                [h] { DWORD pid = 0; GetWindowThreadProcessId(h, &pid); return pid; }(), text);
}

// The exit status of a lookup: the window's line and 0, or "found=0" and 1.
int Report(HWND h) {
    if (!h) {
        std::printf("found=0\n");
        return 1;
    }
    PrintWindow(h);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    if ((cmd == "find" || cmd == "above") && argc == 4) {
        HWND h = FindWindowA(Arg(argv[2]), Arg(argv[3]));
        if (h && cmd == "above") h = GetWindow(h, GW_HWNDPREV);
        return Report(h);
    }
    if (cmd == "window" && argc == 3) return Report(FindWindowA(nullptr, argv[2]));
    if (cmd == "minimize" && argc == 3) {
        HWND h = FindWindowA(nullptr, argv[2]);
        if (h) ShowWindow(h, SW_MINIMIZE);
        return Report(h);
    }
    if (cmd == "client" && argc == 3) {
        HWND h = FindWindowA(nullptr, argv[2]);
        if (!h) return Report(h);
        RECT r{};
        GetClientRect(h, &r);
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("rect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (cmd == "child" && argc == 4) {
        HWND parent = FindWindowA(nullptr, argv[2]);
        HWND h = parent ? FindWindowExA(parent, nullptr, nullptr, argv[3]) : nullptr;
        return Report(h);
    }
    if ((cmd == "press" || cmd == "button") && argc == 5) {
        HWND parent = FindWindowA(Arg(argv[2]), Arg(argv[3]));
        HWND h = parent ? FindWindowExA(parent, nullptr, "Button", argv[4]) : nullptr;
        const int found = Report(h);
        DWORD_PTR ignored = 0;
        if (h && cmd == "press") SendMessageTimeoutA(h, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        return found;
    }
    if (cmd == "menu" && argc == 2) {
        HWND h = FindWindowA("#32768", nullptr);
        if (!h || !IsWindowVisible(h)) return Report(nullptr);
        Report(h);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(h, MN_GETHMENU, 0, 0));
        const int n = menu ? GetMenuItemCount(menu) : -1;
        std::printf("items=%d\n", n);
        for (int i = 0; i < n; ++i) {
            char text[128] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            std::printf("item=%s\n", text[0] ? text : "-");
        }
        return 0;
    }
    std::fprintf(stderr, "usage: tav_window_probe find|above CLASS TITLE | window|client|minimize TITLE | child TITLE TEXT | menu | press|button CLASS TITLE TEXT\n");
    return 2;
}
