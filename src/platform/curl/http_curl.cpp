#include "platform/curl/http_curl.h"

#include <curl/curl.h>

#include "platform/trim.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

const int kPollMs = 50;

struct Transfer {
    const HttpLimits& limits;
    HttpResponse& response;
    bool cut = false;       // the body reached the limit and the rest was not read
    bool tooLarge = false;  // refused for its size
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    const size_t room = t->limits.maxBodyBytes - std::min(t->limits.maxBodyBytes, t->response.body.size());
    if (n > room) {
        if (t->limits.cutAtLimit) {
            t->response.body.append(data, room);
            t->cut = true;
        } else {
            t->tooLarge = true;
        }
        return 0;  // stops the transfer
    }
    t->response.body.append(data, n);
    return n;
}

size_t ReadHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::string line(data, size * count);
    const size_t colon = line.find(':');
    if (line.rfind("HTTP/", 0) == 0) t->response.contentLength.reset();  // a new response (after a redirect)
    if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "content-length") t->response.contentLength = Trim(line.substr(colon + 1), kWhitespace);
    }
    return size * count;
}

HttpResponse::Outcome OutcomeOf(CURLcode code, const Transfer& t) {
    if (t.tooLarge) return HttpResponse::Outcome::TooLarge;
    if (t.cut) return HttpResponse::Outcome::Answered;
    switch (code) {
        case CURLE_OK: return HttpResponse::Outcome::Answered;
        case CURLE_COULDNT_CONNECT:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return HttpResponse::Outcome::CouldNotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return t.response.status == 0 && t.response.body.empty() ? HttpResponse::Outcome::TimedOut
                                                                    : HttpResponse::Outcome::Incomplete;
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING: return HttpResponse::Outcome::Incomplete;
        case CURLE_FILESIZE_EXCEEDED: return HttpResponse::Outcome::TooLarge;
        default: return HttpResponse::Outcome::Failed;
    }
}

}  // namespace

HttpResponse HttpCurl::get(const std::string& url, const HttpLimits& limits, const std::function<void()>& yield,
                           const std::function<bool()>& cancelled) {
    HttpResponse response;
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (!easy || !multi) {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
        return response;
    }
    Transfer transfer{limits, response};
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    if (limits.totalTimeoutMs > 0) curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    // A transfer that stalls: less than one byte a second for the stall bound.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, limits.stallTimeoutSeconds);
    if (!limits.cutAtLimit) {
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, ReadHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);

    curl_multi_add_handle(multi, easy);
    int running = 1;
    bool stopped = false;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK || running == 0) break;
        curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
        if (yield) yield();
        if (cancelled && cancelled()) {
            stopped = true;
            break;
        }
    }
    CURLcode result = CURLE_RECV_ERROR;
    int pending = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &pending)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    response.status = status;
    response.outcome = stopped ? HttpResponse::Outcome::Cancelled : OutcomeOf(result, transfer);

    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    return response;
}

}  // namespace platform
