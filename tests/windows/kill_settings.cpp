// Kill test of the settings file on Windows: starts TAVDashboard.exe from its folder again and
// again and ends it with TerminateProcess at a random moment of its start, while it reads and
// rewrites settings.ini. After every kill the file must be missing (only before any start has
// written it) or a complete, valid nine-line file; after one more start that runs to its end,
// no temporary file of a killed writer may be left.
//
//   tav_kill_settings.exe FOLDER RUNS [WINDOW_MS]
//
// FOLDER holds TAVDashboard.exe. WINDOW_MS (default: 50, widened to cover the moment of the
// rewrite measured first) bounds the kill moments. Prints what it saw; exit code 0 when every
// file was whole.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::wstring g_folder;

std::wstring In(const wchar_t* name) { return g_folder + L"\\" + name; }

DWORD g_readError = 0;

// The file's bytes; false when it is not there. A file that a just-ended process still held
// open a moment ago may refuse to be shared for a moment: that is waited out.
bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    HANDLE f = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 100; ++i) {
        f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        g_readError = f == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (g_readError != ERROR_SHARING_VIOLATION && g_readError != ERROR_ACCESS_DENIED) break;
        Sleep(10);
    }
    if (f == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return true;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The nine lines in their order, each with its key and a value of the right kind.
bool Valid(const std::string& data) {
    if (data.size() < 2 || data.compare(data.size() - 2, 2, "\r\n") != 0) return false;
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = data.find("\r\n", from)) != std::string::npos; from = at + 2) {
        lines.push_back(data.substr(from, at - from));
    }
    if (lines.size() != 9) return false;
    auto tail = [](const std::string& line, const char* key) { return line.substr(std::string(key).size()); };
    const char* keys[] = {"Last Store Visit = ", "Remind Me Date = ", "Remind Me In = ", "Start With Windows = ",
                          "Minimize on Startup = "};
    if (lines[0] != "[SETTINGS]" || lines[6] != "" || lines[7] != "[COMPANY INFO]" || lines[8] != "") return false;
    for (int i = 0; i < 5; ++i) {
        if (!StartsWith(lines[i + 1], keys[i])) return false;
        const std::string value = tail(lines[i + 1], keys[i]);
        if (value.empty()) return false;
        const char* allowed = i < 2 ? "0123456789/" : "-0123456789";
        if (value.find_first_not_of(allowed) != std::string::npos) return false;
    }
    return true;
}

ULONGLONG WriteTime() {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExW(In(L"settings.ini").c_str(), GetFileExInfoStandard, &a)) return 0;
    return (static_cast<ULONGLONG>(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
}

int Temporaries() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(In(L"settings.ini.tmp*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do ++n;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return n;
}

bool Start(PROCESS_INFORMATION& pi) {
    std::wstring command = L"\"" + In(L"TAVDashboard.exe") + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, g_folder.c_str(), &si, &pi) != 0;
}

void Kill(PROCESS_INFORMATION& pi) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tav_kill_settings FOLDER RUNS [WINDOW_MS]\n");
        return 2;
    }
    g_folder = argv[1];
    const int runs = _wtoi(argv[2]);
    double window = argc > 3 ? _wtof(argv[3]) : 0;

    // When does a start rewrite the file? A few measured starts.
    std::vector<double> moments;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < 3; ++i) {
        const ULONGLONG before = WriteTime();
        PROCESS_INFORMATION pi;
        if (!Start(pi)) {
            std::printf("TAVDashboard.exe could not be started\n");
            return 1;
        }
        QueryPerformanceCounter(&t0);
        do {
            Sleep(1);
            QueryPerformanceCounter(&t1);
        } while (WriteTime() == before && (t1.QuadPart - t0.QuadPart) < freq.QuadPart * 20);
        moments.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart));
        Kill(pi);
    }
    std::sort(moments.begin(), moments.end());
    std::printf("rewrite of settings.ini after start: %.0f, %.0f, %.0f ms\n", moments[0], moments[1], moments[2]);
    if (window <= 0) window = std::max(50.0, moments.back() * 1.5);
    std::printf("kill moments: 0 to %.0f ms after start, %d runs\n", window, runs);

    DeleteFileW(In(L"settings.ini").c_str());
    std::mt19937 random(GetTickCount());
    std::uniform_int_distribution<int> moment(0, static_cast<int>(window));
    bool existed = false;
    int rewrites = 0, leftTemporary = 0;
    for (int run = 0; run < runs; ++run) {
        const ULONGLONG before = WriteTime();
        PROCESS_INFORMATION pi;
        if (!Start(pi)) {
            std::printf("run %d: TAVDashboard.exe could not be started\n", run);
            return 1;
        }
        Sleep(static_cast<DWORD>(moment(random)));
        Kill(pi);
        std::string data;
        const bool present = ReadFileBytes(In(L"settings.ini"), data);
        if (!present && existed) {
            std::printf("run %d: settings.ini is gone after a kill (error %lu; in the folder:", run, g_readError);
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(In(L"*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do std::printf(" %ls", found.cFileName);
                while (FindNextFileW(search, &found));
                FindClose(search);
            }
            std::printf(")\n");
            return 1;
        }
        if (present && !Valid(data)) {
            std::printf("run %d: settings.ini is broken after a kill (%u bytes)\n", run, static_cast<unsigned>(data.size()));
            return 1;
        }
        existed = existed || present;
        rewrites += WriteTime() != before;
        leftTemporary += Temporaries() > 0;
    }
    std::printf("runs: %d, of which the file was rewritten before the kill: %d, a temporary file was left by the kill: %d\n",
                runs, rewrites, leftTemporary);

    // One more start that runs to its end cleans up after every killed writer.
    const ULONGLONG before = WriteTime();
    PROCESS_INFORMATION pi;
    if (!Start(pi)) return 1;
    for (int i = 0; i < 2000 && WriteTime() == before; ++i) Sleep(10);
    Sleep(500);
    Kill(pi);
    std::string data;
    const bool whole = ReadFileBytes(In(L"settings.ini"), data) && Valid(data);
    const int left = Temporaries();
    std::printf("after one more start: temporary files left: %d, settings.ini valid: %s\n", left, whole ? "yes" : "no");
    return left == 0 && whole ? 0 : 1;
}
