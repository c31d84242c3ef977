// Mail dispatch: every message the client sends to the store goes through SendEmail.
#pragma once
#include <string>

#include "platform/mail.h"

namespace mEmail {

// Sends one plain-text message to the store's inbox, from the client's address, through the
// store's mail account. The contact window's title shows "Sending Email..." meanwhile (the
// window is created hidden when it is not open), and window events keep running. A refused
// sender address shows "Please enter a valid email address." and clears EmailSent. Every
// other outcome is returned to the caller, which tells the client; the title is back to
// "Contact Us" in every case.
platform::MailOutcome SendEmail(const std::string& Subject, const std::string& Body, const std::string& FromAddress);

// What the client reads when a request has gone out: "Email sent to Brantwell.  A technician
// will respond as soon as possible."
std::string SentMessage();

// What the client reads when a message was not sent: the cause in a few plain words, what to
// do, and the store's phone number. Empty for Sent and SenderRejected, which say their own.
std::string NotSentMessage(platform::MailOutcome outcome);

}  // namespace mEmail
