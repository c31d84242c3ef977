#include <gtest/gtest.h>

#include <algorithm>

#include "app/global_state.h"
#include "mail/frm_email.h"
#include "mail/send_email.h"
#include "store_config.h"
#include "support/dashboard_fixture.h"

namespace {

using platform::MailOutcome;

class SendEmail : public fakes::DashboardTest {
protected:
    MailOutcome send(const std::string& from = "ann@example.test") {
        MailOutcome outcome = MailOutcome::Failed;
        application->dispatch([&] { outcome = mEmail::SendEmail("Subject line", "Body\r\n", from); });
        return outcome;
    }
    mEmail::frmEmail& contact() { return ui::app().form<mEmail::frmEmail>(); }
};

TEST_F(SendEmail, TitlesTheContactWindowCreatedHiddenAndHandsTheMessageOver) {
    std::string titleOnTheWire;
    os.mail.onSend = [&] { titleOnTheWire = contact().caption(); };
    os.mail.yields = 5;
    EXPECT_EQ(send(), MailOutcome::Sent);

    EXPECT_EQ(titleOnTheWire, "Sending Email...");
    EXPECT_TRUE(contact().loaded());
    EXPECT_FALSE(contact().visible());
    EXPECT_EQ(contact().caption(), "Contact Us");
    ASSERT_EQ(os.mail.sent.size(), 1u);
    EXPECT_EQ(os.mail.sent[0].from, "ann@example.test");
    EXPECT_EQ(os.mail.sent[0].to, store::kInbox);
    const std::string& bytes = os.mail.sent[0].bytes;
    EXPECT_EQ(bytes.rfind("Subject: Subject line\r\nFrom: ann@example.test\r\n", 0), 0u);
    EXPECT_NE(bytes.find("Date: Wed, 19 Jul 2017 14:05:00 -0500\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 10), "\r\n\r\nBody\r\n");
    // Three yields before the send, the transport's own, and one after.
    EXPECT_EQ(host.doEventsCalls, 3 + 5 + 1);
    EXPECT_TRUE(host.msgBoxes.empty());
    EXPECT_EQ(modGlobal::EmailSent, modGlobal::kFalse);  // never set true here
}

struct OutcomeCase {
    MailOutcome outcome;
    bool rejectedMessage;
    bool emailSentAfter;
};

class SendEmailOutcomes : public SendEmail, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(SendEmailOutcomes, RejectedSenderClearsEmailSentOtherFailuresAreReturned) {
    const OutcomeCase& c = GetParam();
    os.mail.outcome = c.outcome;
    modGlobal::EmailSent = modGlobal::kTrue;
    EXPECT_EQ(send(), c.outcome);
    EXPECT_EQ(modGlobal::EmailSent != modGlobal::kFalse, c.emailSentAfter);
    EXPECT_EQ(contact().caption(), "Contact Us");
    if (c.rejectedMessage) {
        ASSERT_EQ(host.msgBoxes.size(), 1u);
        EXPECT_EQ(host.msgBoxes[0].text, "Please enter a valid email address.");
        EXPECT_EQ(host.msgBoxes[0].title, "TAVDashboard");
        EXPECT_EQ(host.msgBoxes[0].buttons, ui::MsgBoxButtons::OK);
        EXPECT_EQ(host.msgBoxes[0].icon, ui::MsgBoxIcon::None);
    } else {
        EXPECT_TRUE(host.msgBoxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SendEmailOutcomes,
                         ::testing::Values(OutcomeCase{MailOutcome::Sent, false, true},
                                           OutcomeCase{MailOutcome::SenderRejected, true, false},
                                           OutcomeCase{MailOutcome::CouldNotConnect, false, true},
                                           OutcomeCase{MailOutcome::LoginRefused, false, true},
                                           OutcomeCase{MailOutcome::RecipientRefused, false, true},
                                           OutcomeCase{MailOutcome::TimedOut, false, true},
                                           OutcomeCase{MailOutcome::SecureConnectionFailed, false, true},
                                           OutcomeCase{MailOutcome::Failed, false, true}));

TEST_F(SendEmail, AnAddressThatCouldBreakAHeaderNeverReachesTheServer) {
    EXPECT_EQ(send("ann@example.test\r\nBcc: all@example.test"), MailOutcome::SenderRejected);
    EXPECT_TRUE(os.mail.sent.empty());
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text, "Please enter a valid email address.");
}

TEST_F(SendEmail, ASecondSendWhileOneIsOnItsWayIsRefused) {
    MailOutcome inner = MailOutcome::Sent;
    os.mail.onSend = [&] { inner = mEmail::SendEmail("again", "x", "bob@example.test"); };
    EXPECT_EQ(send(), MailOutcome::Sent);
    EXPECT_EQ(inner, MailOutcome::Failed);
    EXPECT_EQ(os.mail.sent.size(), 1u);
}

TEST_F(SendEmail, AContactWindowClosedMeanwhileIsNotOpenedAgain) {
    os.mail.onSend = [&] { contact().Unload(); };
    EXPECT_EQ(send(), MailOutcome::Sent);
    EXPECT_FALSE(ui::app().isLoaded<mEmail::frmEmail>());
}

TEST(NotSentMessage, NamesTheCauseAndThePhone) {
    for (MailOutcome o : {MailOutcome::CouldNotConnect, MailOutcome::LoginRefused, MailOutcome::RecipientRefused,
                          MailOutcome::TimedOut, MailOutcome::SecureConnectionFailed, MailOutcome::Failed}) {
        const std::string text = mEmail::NotSentMessage(o);
        EXPECT_EQ(text.rfind("Your message was not sent: ", 0), 0u) << text;
        EXPECT_NE(text.find(store::kPhone), std::string::npos) << text;
        EXPECT_EQ(text.find("Email sent"), std::string::npos);
    }
    EXPECT_NE(mEmail::NotSentMessage(MailOutcome::CouldNotConnect), mEmail::NotSentMessage(MailOutcome::TimedOut));
    EXPECT_EQ(mEmail::NotSentMessage(MailOutcome::Sent), "");
}

}  // namespace
