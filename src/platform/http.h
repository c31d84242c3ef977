// Plain HTTP GETs to the store's web server, bounded in time and size.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace platform {

struct HttpLimits {
    long connectTimeoutMs = 3000;
    long stallTimeoutSeconds = 30;  // without a byte arriving
    long totalTimeoutMs = 0;        // 0: none beyond the stall bound
    size_t maxBodyBytes = 64 * 1024 * 1024;
    // A longer body is cut to the limit (true) or refused as too large (false). A refused
    // download also refuses a Content-Length above the limit before any byte arrives.
    bool cutAtLimit = false;
};

struct HttpResponse {
    enum class Outcome {
        Answered,        // a whole response arrived (its status may still be an error)
        CouldNotConnect,  // no connection: server down, address not found, port closed
        TimedOut,         // connected, then no answer in time
        Incomplete,       // the connection closed before the body was complete
        TooLarge,         // larger than the limit, and refused
        Cancelled,
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    long status = 0;                          // 0 without a response
    std::optional<std::string> contentLength;  // the header's text, when the server sent one
    std::string body;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // GETs the address. While it waits for the network it sleeps, calling yield between waits
    // so that window events run; cancelled is asked at the same points.
    virtual HttpResponse get(const std::string& url, const HttpLimits& limits, const std::function<void()>& yield,
                             const std::function<bool()>& cancelled) = 0;
};

}  // namespace platform
