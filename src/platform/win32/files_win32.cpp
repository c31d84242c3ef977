#include "platform/win32/files_win32.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/temporary_name.h"
#include "platform/win32/text_win32.h"

namespace platform {

namespace {

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() { if (ok()) CloseHandle(h); }
    bool ok() const { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    bool close() {
        const bool closed = CloseHandle(h) != 0;
        h = INVALID_HANDLE_VALUE;
        return closed;
    }
};

std::atomic<unsigned> g_tempCounter{0};

bool ProcessRuns(DWORD pid) {
    HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!p) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process; a refusal means it runs
    const bool runs = WaitForSingleObject(p, 0) == WAIT_TIMEOUT;
    CloseHandle(p);
    return runs;
}

// Removes the temporary files of earlier replaces of this file whose writer no longer runs.
// One named after this process is stale too (left by an ended process whose id this one got):
// the program replaces a file from its window thread only, so none of its own is in flight.
void RemoveAbandonedTemporaries(const std::wstring& target) {
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::string fileName = Narrow(slash == std::wstring::npos ? target : target.substr(slash + 1));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((target + L".tmp*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::optional<uint32_t> writer = TemporaryWriter(Narrow(found.cFileName), fileName);
        if (writer && (*writer == GetCurrentProcessId() || !ProcessRuns(*writer))) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    std::string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive root keeps its backslash
    return folder;
}

std::string FilesWin32::programFolder() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return ".";
        if (n < buf.size()) return FolderOfPath(Narrow(std::wstring(buf.data(), n)));
        buf.resize(buf.size() * 2);  // the path was cut: try again with more room
    }
}

std::string FilesWin32::programName() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return "TAVDashboard";
        if (n < buf.size()) {
            std::string name = Narrow(std::wstring(buf.data(), n));
            name = name.substr(name.find_last_of("\\/") + 1);
            const size_t dot = name.rfind('.');
            return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
        }
        buf.resize(buf.size() * 2);
    }
}

bool FilesWin32::exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> FilesWin32::read(const std::string& path) {
    Handle f(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.ok()) return std::nullopt;
    std::string bytes;
    char chunk[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(f.h, chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    return bytes;
}

// Writes a temporary file in the target's folder, flushes it to disk, then swaps it in with a
// write-through rename over the target, which is one step: a crash leaves either the old file
// or the new one (and at most a temporary file, which the next replace of the same file
// removes); a failure leaves the old file and no temporary file. ReplaceFileW is only the way
// past a target that another program holds open without letting it be renamed: it is not one
// step everywhere (Wine's moves the target away first, and a process ended in between
// leaves no file at all).
bool FilesWin32::replace(const std::string& path, const std::string& bytes) {
    const std::wstring target = Widen(path);
    RemoveAbandonedTemporaries(target);
    const std::wstring temp =
        Widen(TemporaryName(path, static_cast<uint32_t>(GetCurrentProcessId()), g_tempCounter.fetch_add(1)));
    {
        Handle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.ok()) return false;
        size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            DWORD wrote = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            ok = WriteFile(f.h, bytes.data() + done, want, &wrote, nullptr) && wrote > 0;
            done += wrote;
        }
        ok = ok && FlushFileBuffers(f.h);
        ok = f.close() && ok;
        if (!ok) {
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    bool swapped = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!swapped && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        swapped = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    }
    if (!swapped) DeleteFileW(temp.c_str());
    return swapped;
}

bool FilesWin32::append(const std::string& path, const std::string& bytes) {
    Handle f(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    if (!f.ok()) return false;
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(f.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

bool FilesWin32::remove(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool FilesWin32::rename(const std::string& from, const std::string& to) {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool FilesWin32::makeFolder(const std::string& path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool FilesWin32::makeExecutable(const std::string&) { return true; }

}  // namespace platform
