#include "mail/send_email.h"

#include "app/global_state.h"
#include "mail/frm_email.h"
#include "mail/mail_message.h"
#include "platform/services.h"
#include "store_config.h"
#include "ui/application.h"
#include "ui/msgbox.h"

namespace mEmail {

namespace {

using platform::MailOutcome;

constexpr const char* kSenderText = "TAV Dashboard";

// The contact window's title is the progress display; the window may have been closed while
// the message went out, and is not opened again just to be titled.
void SetContactTitle(const std::string& title, bool createHidden) {
    ui::Application& a = ui::app();
    if (!a.isLoaded<frmEmail>() && !createHidden) return;
    frmEmail& contact = a.form<frmEmail>();
    contact.Load();
    contact.setCaption(title);
}

bool g_sending = false;

}  // namespace

MailOutcome SendEmail(const std::string& Subject, const std::string& Body, const std::string& FromAddress) {
    // A second window's Send while a message is on its way (events run meanwhile) waits its turn.
    if (g_sending) return MailOutcome::Failed;
    g_sending = true;
    struct Done {
        ~Done() { g_sending = false; }
    } done;

    SetContactTitle("Sending Email...", true);
    platform::MailTransport* transport = platform::services().mail;
    ui::DoEvents();

    Message m;
    m.subject = Subject;
    m.body = Body;
    m.from = FromAddress;
    m.senderName = kSenderText;
    m.senderAddress = store::kSmtpUser;
    m.to = store::kInbox;
    ui::DoEvents();

    platform::Clock& clock = *platform::services().clock;
    m.date = MailDate(clock.now(), clock.utcOffsetMinutes());
    m.messageId = NewMessageId(store::kSmtpUser);
    const std::string bytes = ComposeMessage(m);
    ui::DoEvents();

    // An address that could break a header line or the envelope never reaches the wire: the
    // server would refuse it as a sender anyway.
    MailOutcome outcome = MailOutcome::SenderRejected;
    if (IsSafeAddress(FromAddress)) {
        outcome = transport ? transport->send(FromAddress, store::kInbox, bytes, [] { ui::DoEvents(); })
                            : MailOutcome::Failed;
    }
    if (outcome == MailOutcome::SenderRejected) {
        ui::MsgBox("Please enter a valid email address.");
        ui::DoEvents();
        modGlobal::EmailSent = modGlobal::kFalse;
    }
    ui::DoEvents();
    SetContactTitle("Contact Us", false);
    return outcome;
}

std::string SentMessage() {
    return std::string("Email sent to ") + store::kName + ".  A technician will respond as soon as possible.";
}

std::string NotSentMessage(MailOutcome outcome) {
    std::string cause;
    switch (outcome) {
        case MailOutcome::Sent:
        case MailOutcome::SenderRejected: return {};
        case MailOutcome::CouldNotConnect: cause = "the store's mail server could not be reached"; break;
        case MailOutcome::LoginRefused: cause = "the store's mail server did not accept the program's login"; break;
        case MailOutcome::RecipientRefused: cause = "the store's mail server did not accept the store's address"; break;
        case MailOutcome::TimedOut: cause = "the store's mail server did not answer in time"; break;
        case MailOutcome::SecureConnectionFailed:
            cause = "a secure connection to the store's mail server could not be made";
            break;
        case MailOutcome::Failed: cause = "it could not be handed to the store's mail server"; break;
    }
    return "Your message was not sent: " + cause + ".\n\nPlease check your Internet connection and press Send again "
           "in a few minutes, or call " + store::kName + " at " + store::kPhone + ".";
}

}  // namespace mEmail
