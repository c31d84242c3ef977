#include "platform/win32/http_wininet_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <memory>
#include <vector>

#include "platform/trim.h"
#include "platform/win32/text_win32.h"

namespace platform {

namespace {

using Outcome = HttpResponse::Outcome;

const DWORD kPollMs = 50;
const DWORD kReadBytes = 16 * 1024;

// What the worker and the waiting thread share. The worker owns the WinINet handles and fills
// the response; the waiting thread reads it only after the worker has signalled done. When the
// waiting thread gives up first (cancelled, or out of time) it marks the transfer abandoned
// and returns at once; the worker stops after its current call, whose own time-out bounds it,
// and closes its handles. Handles are never closed from the other thread, so a handle value
// that WinINet hands out again can never be used by a transfer that was given up. The last
// owner frees the state.
struct Transfer {
    std::wstring url;
    HttpLimits limits;
    HttpResponse response;

    HANDLE done = nullptr;
    std::atomic<bool> connected{false};   // a connection to the server stands
    std::atomic<bool> answered{false};    // the response's status line and headers arrived
    std::atomic<ULONGLONG> lastProgress{0};

    std::atomic<bool> abandoned{false};  // the waiting thread gave up on it

    ~Transfer() {
        if (done) CloseHandle(done);
    }

    void progressed() { lastProgress = GetTickCount64(); }
};

// Closes a WinINet handle when it goes out of scope.
struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() {
        if (h) InternetCloseHandle(h);
    }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
    auto* t = reinterpret_cast<Transfer*>(context);
    if (!t) return;
    if (status == INTERNET_STATUS_CONNECTED_TO_SERVER) {
        t->connected = true;
        t->progressed();
    } else if (status == INTERNET_STATUS_RESPONSE_RECEIVED) {
        t->progressed();
    }
}

bool IsWebAddress(const std::string& url) {
    std::string scheme = url.substr(0, std::min<size_t>(url.size(), 8));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme.rfind("http://", 0) == 0 || scheme.rfind("https://", 0) == 0;
}

// The outcome of a WinINet error, by how far the transfer had come.
Outcome OutcomeOf(DWORD error, const Transfer& t) {
    switch (error) {
        case ERROR_INTERNET_CANNOT_CONNECT:
        case ERROR_INTERNET_NAME_NOT_RESOLVED: return Outcome::CouldNotConnect;
        case ERROR_INTERNET_TIMEOUT:
            if (!t.connected) return Outcome::CouldNotConnect;
            return t.answered ? Outcome::Incomplete : Outcome::TimedOut;
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case ERROR_INTERNET_CONNECTION_RESET:
        case ERROR_HTTP_INVALID_SERVER_RESPONSE: return Outcome::Incomplete;
        default: return Outcome::Failed;
    }
}

// A Content-Length of digits only, as a number; anything else is no count.
bool LengthValue(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoull(text);
    return true;
}

std::optional<std::string> ContentLengthHeader(HINTERNET request) {
    char text[64] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
    return Trim(std::string(text, size), kWhitespace);
}

// Reads the body into the response within the size limit; the outcome of the whole transfer.
Outcome ReadBody(Transfer& t, HINTERNET request) {
    HttpResponse& r = t.response;
    unsigned long long announced = 0;
    const bool counted = r.contentLength && LengthValue(*r.contentLength, announced);
    if (counted && !t.limits.cutAtLimit && announced > t.limits.maxBodyBytes) return Outcome::TooLarge;

    std::vector<char> buffer(kReadBytes);
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), kReadBytes, &got)) return OutcomeOf(GetLastError(), t);
        if (t.abandoned) return Outcome::Cancelled;
        if (got == 0) break;
        t.progressed();
        const size_t room = t.limits.maxBodyBytes - std::min(t.limits.maxBodyBytes, r.body.size());
        if (got > room) {
            if (!t.limits.cutAtLimit) return Outcome::TooLarge;
            r.body.append(buffer.data(), room);
            return Outcome::Answered;
        }
        r.body.append(buffer.data(), got);
    }
    // WinINet ends the body quietly when the server closes the connection early.
    if (counted && r.body.size() < announced) return Outcome::Incomplete;
    return Outcome::Answered;
}

void Run(Transfer& t) {
    InternetHandle session{InternetOpenW(L"TAVDashboard", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session.h) {
        t.response.outcome = Outcome::Failed;
        return;
    }
    // WinINet's own bounds: they end a call that the waiting thread has given up on.
    DWORD connectMs = static_cast<DWORD>(t.limits.connectTimeoutMs);
    DWORD receiveMs = static_cast<DWORD>(t.limits.stallTimeoutSeconds * 1000);
    InternetSetOptionW(session.h, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionW(session.h, INTERNET_OPTION_SEND_TIMEOUT, &receiveMs, sizeof receiveMs);
    InternetSetOptionW(session.h, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveMs, sizeof receiveMs);
    InternetSetStatusCallbackW(session.h, OnStatus);

    // Always from the server: an update check answered from a cache would miss a new version.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH;
    InternetHandle request{
        InternetOpenUrlW(session.h, t.url.c_str(), nullptr, 0, flags, reinterpret_cast<DWORD_PTR>(&t))};
    if (!request.h) {
        t.response.outcome = OutcomeOf(GetLastError(), t);
        return;
    }
    if (t.abandoned) return;
    t.connected = true;
    t.answered = true;
    t.progressed();

    DWORD status = 0, size = sizeof status;
    if (HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        t.response.status = static_cast<long>(status);
    }
    t.response.contentLength = ContentLengthHeader(request.h);
    t.response.outcome = ReadBody(t, request.h);
}

DWORD WINAPI Worker(LPVOID parameter) {
    std::unique_ptr<std::shared_ptr<Transfer>> owner(static_cast<std::shared_ptr<Transfer>*>(parameter));
    Transfer& t = **owner;
    Run(t);
    SetEvent(t.done);
    return 0;
}

}  // namespace

HttpResponse HttpWinInet::get(const std::string& url, const HttpLimits& limits, const std::function<void()>& yield,
                              const std::function<bool()>& cancelled) {
    HttpResponse failed;
    if (!IsWebAddress(url)) return failed;

    auto transfer = std::make_shared<Transfer>();
    transfer->url = Widen(url);
    transfer->limits = limits;
    transfer->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!transfer->done) return failed;
    const ULONGLONG started = GetTickCount64();
    transfer->lastProgress = started;

    auto* workerOwner = new std::shared_ptr<Transfer>(transfer);
    HANDLE thread = CreateThread(nullptr, 0, Worker, workerOwner, 0, nullptr);
    if (!thread) {
        delete workerOwner;
        return failed;
    }
    CloseHandle(thread);

    // Sleeps until the worker is done, a window message arrives, or a poll interval passes.
    const HANDLE done = transfer->done;
    for (;;) {
        const DWORD woke = yield ? MsgWaitForMultipleObjects(1, &done, FALSE, kPollMs, QS_ALLINPUT)
                                 : WaitForSingleObject(done, kPollMs);
        if (woke == WAIT_OBJECT_0) return transfer->response;
        if (yield) yield();

        const ULONGLONG now = GetTickCount64();
        std::optional<Outcome> givenUp;
        if (cancelled && cancelled()) {
            givenUp = Outcome::Cancelled;
        } else if (!transfer->connected && now - started > static_cast<ULONGLONG>(limits.connectTimeoutMs)) {
            givenUp = Outcome::CouldNotConnect;
        } else if (now - transfer->lastProgress > static_cast<ULONGLONG>(limits.stallTimeoutSeconds) * 1000 ||
                   (limits.totalTimeoutMs > 0 && now - started > static_cast<ULONGLONG>(limits.totalTimeoutMs))) {
            givenUp = !transfer->connected ? Outcome::CouldNotConnect
                      : transfer->answered  ? Outcome::Incomplete
                                            : Outcome::TimedOut;
        }
        if (givenUp) {
            // The worker may have finished in the meantime; its response then stands.
            if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) return transfer->response;
            transfer->abandoned = true;
            HttpResponse response;
            response.outcome = *givenUp;
            return response;
        }
    }
}

}  // namespace platform
