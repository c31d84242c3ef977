// The internet transfer control of the update window: every request of the self-update goes
// through it, to the platform's HTTP client, within bounds of time and size.
#pragma once
#include <string>

#include "platform/http.h"

namespace update {

class Inet {
public:
    // The body of a small text at the address: empty when the request failed or the answer was
    // not a 200 (an error page is not the text). At most 64 KB are read.
    std::string OpenURL(const std::string& url);
    // Whether the last OpenURL reached the server at all.
    bool reached() const { return reached_; }

    // GETs the address into the control's buffer and returns when the transfer is over; while
    // it waits, window events run (DoEvents), and stopRequested is asked whether to give up.
    void Execute(const std::string& url, const std::function<bool()>& stopRequested);
    // The response header's value; empty without a response or without the header.
    std::string GetHeader(const std::string& name) const;
    // The next count bytes of the buffered body (fewer at its end).
    std::string GetChunk(long count);
    void Cancel();

    const platform::HttpResponse& response() const { return response_; }

    static platform::HttpLimits TextLimits();
    static platform::HttpLimits DownloadLimits();

private:
    platform::HttpResponse response_;
    size_t read_ = 0;
    bool reached_ = false;
};

}  // namespace update
