// Handing a composed message to the store's outgoing mail server.
#pragma once
#include <functional>
#include <string>

namespace platform {

// How the connection to the mail server is secured.
enum class MailSecurity {
    StartTlsIfOffered,  // STARTTLS when the server offers it, plain text otherwise
    StartTlsRequired,   // STARTTLS, or no message at all
    ImplicitTls,        // TLS from the first byte (port 465)
};

// The store's mail account and server, from the build options.
struct MailServer {
    std::string host;
    int port = 25;
    MailSecurity security = MailSecurity::StartTlsIfOffered;
    std::string user, password;
    std::string extraCaFile;      // a CA certificate file trusted beside the system's; may be empty
    long connectTimeoutSeconds = 15;
    long totalTimeoutSeconds = 60;  // the whole dialogue, however slowly the server answers
};

// What became of one message.
enum class MailOutcome {
    Sent,
    SenderRejected,     // the server refused the envelope sender (a 5xx reply to MAIL FROM)
    CouldNotConnect,    // no connection: server down, unknown host or no network
    LoginRefused,       // the account's login was refused
    RecipientRefused,   // the server refused the store's inbox
    TimedOut,           // the server stopped answering
    SecureConnectionFailed,  // TLS could not be set up, or the certificate did not verify
    Failed,             // anything else
};

class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Sends the message (headers and body, CR LF line ends) from the envelope sender to the
    // recipient. Calls yield often while it waits for the network, so window events keep
    // running; returns when the server accepted the message or the attempt failed.
    virtual MailOutcome send(const std::string& envelopeFrom, const std::string& recipient, const std::string& message,
                             const std::function<void()>& yield) = 0;
};

}  // namespace platform
