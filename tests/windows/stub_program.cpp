// A stand-in for a program the dashboard starts (a tool, the remote-support program): it writes
// a marker file beside itself, "<its path>.ran", with its command line, and exits.
#include <windows.h>

#include <cstdio>

int main() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 4) return 1;
    wcscat(self, L".ran");
    FILE* f = _wfopen(self, L"w");
    if (!f) return 1;
    std::fprintf(f, "%ls\n", GetCommandLineW());
    std::fclose(f);
    return 0;
}
