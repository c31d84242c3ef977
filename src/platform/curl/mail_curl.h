// Mail to the store through libcurl's SMTP client, on both builds (OpenSSL on Linux, Schannel
// on Windows). The transfer runs on libcurl's multi interface, driven from the calling
// thread: between its steps the caller's yield lets window events run.
#pragma once
#include <string>

#include "platform/mail.h"

namespace platform {

class MailCurl : public MailTransport {
public:
    explicit MailCurl(MailServer server);
    MailOutcome send(const std::string& envelopeFrom, const std::string& recipient, const std::string& message,
                     const std::function<void()>& yield) override;

private:
    MailServer server_;
};

// The outcome of a finished transfer: libcurl's result code, the server's last reply code,
// libcurl's error text, and whether a connection was made at all.
MailOutcome MailOutcomeOf(int curlCode, long replyCode, const std::string& errorText, bool connected);

}  // namespace platform
