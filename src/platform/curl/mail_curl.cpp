#include "platform/curl/mail_curl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace platform {

namespace {

// How long libcurl may wait for the network before the window events get their turn.
constexpr int kPollMs = 50;

struct Upload {
    const std::string& bytes;
    size_t sent = 0;
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* userData) {
    auto* up = static_cast<Upload*>(userData);
    const size_t n = std::min(size * count, up->bytes.size() - up->sent);
    std::memcpy(buffer, up->bytes.data() + up->sent, n);
    up->sent += n;
    return n;
}

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

MailCurl::MailCurl(MailServer server) : server_(std::move(server)) { InitCurlOnce(); }

MailOutcome MailOutcomeOf(int curlCode, long replyCode, const std::string& errorText, bool connected) {
    switch (static_cast<CURLcode>(curlCode)) {
        case CURLE_OK: return MailOutcome::Sent;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT: return MailOutcome::CouldNotConnect;
        case CURLE_OPERATION_TIMEDOUT: return connected ? MailOutcome::TimedOut : MailOutcome::CouldNotConnect;
        case CURLE_LOGIN_DENIED:
        case CURLE_AUTH_ERROR: return MailOutcome::LoginRefused;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_USE_SSL_FAILED:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS: return MailOutcome::SecureConnectionFailed;
        case CURLE_SEND_ERROR:
            // libcurl reports a refused MAIL FROM or RCPT TO as a send error and names the command.
            if (StartsWith(errorText, "MAIL failed")) {
                return replyCode >= 500 && replyCode < 600 ? MailOutcome::SenderRejected : MailOutcome::Failed;
            }
            if (StartsWith(errorText, "RCPT failed")) return MailOutcome::RecipientRefused;
            return MailOutcome::Failed;
        default: return MailOutcome::Failed;
    }
}

MailOutcome MailCurl::send(const std::string& envelopeFrom, const std::string& recipient, const std::string& message,
                           const std::function<void()>& yield) {
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (!easy || !multi) {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
        return MailOutcome::Failed;
    }
    const bool implicitTls = server_.security == MailSecurity::ImplicitTls;
    const std::string url =
        std::string(implicitTls ? "smtps://" : "smtp://") + server_.host + ":" + std::to_string(server_.port);
    const std::string from = "<" + envelopeFrom + ">";
    curl_slist* recipients = curl_slist_append(nullptr, ("<" + recipient + ">").c_str());
    Upload upload{message};
    char errorText[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_USE_SSL,
                     static_cast<long>(server_.security == MailSecurity::StartTlsIfOffered ? CURLUSESSL_TRY : CURLUSESSL_ALL));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    // A revocation list that cannot be fetched does not stop the mail (Schannel checks them).
    curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    if (!server_.extraCaFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, server_.extraCaFile.c_str());
    // An empty user name would still make libcurl attempt a login.
    if (!server_.user.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, server_.user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, server_.password.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(easy, CURLOPT_READDATA, &upload);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, server_.connectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, server_.totalTimeoutSeconds);

    curl_multi_add_handle(multi, easy);
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        if (running == 0) break;
        curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
        yield();
    }
    int result = CURLE_RECV_ERROR;
    int pending = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &pending)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
    }
    long reply = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply);
    curl_off_t connectTime = 0;
    curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectTime);

    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    curl_slist_free_all(recipients);
    return MailOutcomeOf(result, reply, errorText, connectTime > 0);
}

}  // namespace platform
