// The message that mail dispatch hands to the server: its headers and its plain-text body,
// composed as bytes on the wire (CR LF line ends, UTF-8).
#pragma once
#include <string>

#include "platform/services.h"

namespace mEmail {

// Whether a typed address may stand in a header and in the envelope: no control characters
// (CR, LF, NUL, TAB, DEL and the like), which could end a header line or an SMTP command early.
bool IsSafeAddress(const std::string& address);

struct Message {
    std::string subject;
    std::string body;           // lines separated by CR LF; a lone CR or LF is sent as CR LF
    std::string from;           // the client's address as typed
    std::string senderName;     // "TAV Dashboard"
    std::string senderAddress;  // the store's dashboard account
    std::string to;             // the store's inbox
    std::string date;           // an RFC 5322 date, see MailDate
    std::string messageId;      // "<...@...>"
};

// "Thu, 10 Dec 2026 10:17:50 -0500": the local time and its offset from UTC.
std::string MailDate(const platform::LocalTime& t, int utcOffsetMinutes);

// A message identifier that no other message has: a random part and the account's domain.
std::string NewMessageId(const std::string& accountAddress);

// Headers, an empty line and the body. The priority header keeps its trailing blank. A body
// with a line longer than SMTP allows (998 bytes) goes out quoted-printable, any other as 8bit.
std::string ComposeMessage(const Message& m);

}  // namespace mEmail
