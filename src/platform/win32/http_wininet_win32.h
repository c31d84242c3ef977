// HTTP GETs through WinINet, Windows' own HTTP client: it uses the system's proxy settings
// and verifies HTTPS addresses against the system's certificate store. WinINet's calls block,
// so each transfer runs on a worker thread while the calling (window) thread sleeps in
// MsgWaitForMultipleObjects, lets the caller's yield run window events, and holds the time
// bounds itself: closing the handles ends a transfer that is cancelled or out of time.
#pragma once
#include "platform/http.h"

namespace platform {

class HttpWinInet : public HttpClient {
public:
    HttpResponse get(const std::string& url, const HttpLimits& limits, const std::function<void()>& yield,
                     const std::function<bool()>& cancelled) override;
};

}  // namespace platform
