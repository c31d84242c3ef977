// A stand-in for a program the dashboard starts (a tool, the remote-support program): it writes
// a marker file beside itself, "<its path>.ran", with its command line, and exits. With "hold"
// on its command line it stays running for three minutes first, which keeps its file locked.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int main() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 4) return 1;
    wcscat(self, L".ran");
    FILE* f = _wfopen(self, L"w");
    if (!f) return 1;
    std::fprintf(f, "%ls\n", GetCommandLineW());
    std::fclose(f);
    if (wcsstr(GetCommandLineW(), L" hold")) Sleep(180000);
    return 0;
}
