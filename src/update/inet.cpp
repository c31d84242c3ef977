#include "update/inet.h"

#include "platform/services.h"
#include "ui/msgbox.h"

namespace update {

using Outcome = platform::HttpResponse::Outcome;

// A text request gives up after 2.5 s in all, so that a silent or unreachable server holds up
// the start for less than the 5 s it may take, with the program's own start on a slow machine.
platform::HttpLimits Inet::TextLimits() {
    platform::HttpLimits l;
    l.connectTimeoutMs = 2500;
    l.stallTimeoutSeconds = 3;
    l.totalTimeoutMs = 2500;
    l.maxBodyBytes = 64 * 1024;
    l.cutAtLimit = true;
    return l;
}

platform::HttpLimits Inet::DownloadLimits() {
    platform::HttpLimits l;
    l.connectTimeoutMs = 3000;
    l.stallTimeoutSeconds = 30;
    // A body that trickles in forever ends too; the user may press Cancel long before.
    l.totalTimeoutMs = 600 * 1000;
    l.maxBodyBytes = 64 * 1024 * 1024;
    l.cutAtLimit = false;
    return l;
}

std::string Inet::OpenURL(const std::string& url) {
    const platform::HttpResponse r = platform::services().http->get(url, TextLimits(), nullptr, nullptr);
    reached_ = r.outcome != Outcome::CouldNotConnect && r.outcome != Outcome::TimedOut;
    return r.outcome == Outcome::Answered && r.status == 200 ? r.body : std::string();
}

void Inet::Execute(const std::string& url, const std::function<bool()>& stopRequested) {
    read_ = 0;
    response_ = platform::services().http->get(url, DownloadLimits(), [] { ui::DoEvents(); }, stopRequested);
}

std::string Inet::GetHeader(const std::string& name) const {
    if (name == "Content-Length" && response_.contentLength) return *response_.contentLength;
    return {};
}

std::string Inet::GetChunk(long count) {
    if (count <= 0 || read_ >= response_.body.size()) return {};
    const std::string chunk = response_.body.substr(read_, static_cast<size_t>(count));
    read_ += chunk.size();
    return chunk;
}

void Inet::Cancel() {
    response_ = platform::HttpResponse{};
    read_ = 0;
}

}  // namespace update
