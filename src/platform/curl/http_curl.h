// HTTP GETs through libcurl on its multi interface, driven from the calling thread: it sleeps
// in libcurl's poll between network events and lets the caller's yield run window events.
// HTTPS addresses are verified against the system's certificates.
#pragma once
#include "platform/http.h"

namespace platform {

class HttpCurl : public HttpClient {
public:
    HttpResponse get(const std::string& url, const HttpLimits& limits, const std::function<void()>& yield,
                     const std::function<bool()>& cancelled) override;
};

}  // namespace platform
