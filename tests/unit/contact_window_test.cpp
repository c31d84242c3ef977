#include <gtest/gtest.h>

#include "app/global_state.h"
#include "mail/frm_email.h"
#include "mail/send_email.h"
#include "store_config.h"
#include "support/dashboard_fixture.h"

namespace {

using platform::MailOutcome;

const char* const kIncomplete = "Please make sure to complete form before pressing Send.";
const char* const kInvalid = "Invalid Email!";
const std::string kSent = std::string("Email sent to ") + store::kName + ".  A technician will respond as soon as possible.";

class ContactWindow : public fakes::DashboardTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(startUp());
        dash().cmdContactUs_Click();
    }
    mEmail::frmEmail& contact() { return ui::app().form<mEmail::frmEmail>(); }
    void fill(const std::string& name, const std::string& phone, const std::string& email, const std::string& msg = "") {
        contact().txtName.userSet(name);
        contact().txtPhone.userSet(phone);
        contact().txtEmail.userSet(email);
        contact().txtMsg.userSet(msg);
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : host.msgBoxes) texts.push_back(m.text);
        return texts;
    }
};

struct CheckCase {
    const char* name;
    const char* fullName;
    const char* phone;
    const char* email;
    std::vector<std::string> messages;
    bool sent;
};

class ContactChecks : public ContactWindow, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ContactChecks, MessagesInOrder) {
    const CheckCase& c = GetParam();
    fill(c.fullName, c.phone, c.email);
    host.click(contact().cmdSend);
    EXPECT_EQ(messages(), c.messages);
    EXPECT_EQ(os.mail.sent.size(), c.sent ? 1u : 0u);
    if (c.sent) {
        EXPECT_EQ(os.mail.sent[0].from, c.email);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ContactChecks,
    ::testing::Values(CheckCase{"NoName", "", "555", "a@b.c", {kIncomplete}, false},
                      CheckCase{"NoPhone", "Ann", "", "a@b.c", {kIncomplete}, false},
                      CheckCase{"NoEmail", "Ann", "555", "", {kIncomplete}, false},
                      CheckCase{"AtButNoDot", "Ann", "555", "ann@example", {kInvalid, kIncomplete}, false},
                      CheckCase{"DotButNoAt", "Ann", "555", "ann.example.test", {kInvalid, kIncomplete}, false},
                      CheckCase{"LineBreakInAddress", "Ann", "555", "a@b.c\r\nBcc: x@y.z", {kInvalid, kIncomplete}, false},
                      CheckCase{"OnlyAtAndDot", "Ann", "555", "@.", {kSent}, true},
                      CheckCase{"DotThenAt", "Ann", "555", ".@", {kSent}, true},
                      CheckCase{"BlankNameCounts", " ", "555", "a@b.c", {kSent}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ContactWindow, AControlCharacterInTheAddressIsInvalid) {
    fill("Ann", "555", std::string("a@b.c\0x", 7));
    host.click(contact().cmdSend);
    EXPECT_EQ(messages(), (std::vector<std::string>{kInvalid, kIncomplete}));
    EXPECT_TRUE(os.mail.sent.empty());
}

TEST_F(ContactWindow, TheBodyCarriesTheFormAndTheDashboardsSummary) {
    dash().lblOS.setCaption("Debian GNU/Linux 12 ");
    dash().lblCPU.setCaption("CPU text");
    dash().lblMemory.setCaption("2GB (1x2048MB)");
    dash().lblHDD.setText("C: 10 GB\r\nD: 20 GB");
    dash().lblCPUAvg.setCaption("AVG CPU Usage (Last 3 secs):  1.50%");
    dash().lblSysUptime.setCaption("Uptime = 0 D, 1 H, 2 M, 3 S");
    fill("Ann Lee", "555 0100", "ann@example.test", "");
    host.click(contact().cmdSend);
    ASSERT_EQ(os.mail.sent.size(), 1u);
    const std::string& bytes = os.mail.sent[0].bytes;
    EXPECT_NE(bytes.find("Subject: Tech request from TAV Dashboard\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n\r\n") + 4),
              "Ann Lee\r\n555 0100\r\n\r\n\r\n\r\nDebian GNU/Linux 12 \r\n\r\nCPU text\r\n\r\n2GB (1x2048MB)\r\n\r\n"
              "C: 10 GB\r\nD: 20 GB\r\n\r\nAVG CPU Usage (Last 3 secs):  1.50%\r\n\r\nUptime = 0 D, 1 H, 2 M, 3 S\r\n\r\n"
              "PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE\r\n");
}

TEST_F(ContactWindow, SuccessClosesTheWindowAndTheNextOpeningIsEmpty) {
    bool disabledMeanwhile = false;
    os.mail.onSend = [&] { disabledMeanwhile = !contact().cmdSend.enabled(); };
    fill("Ann", "555", "ann@example.test", "It beeps.");
    host.click(contact().cmdSend);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(messages(), (std::vector<std::string>{kSent}));
    EXPECT_FALSE(ui::app().isLoaded<mEmail::frmEmail>());
    EXPECT_EQ(modGlobal::EmailSent, modGlobal::kTrue);
    dash().cmdContactUs_Click();
    EXPECT_EQ(contact().txtName.text(), "");
    EXPECT_EQ(contact().txtMsg.text(), "");
}

TEST_F(ContactWindow, ARejectedSenderKeepsTheWindowWithEverythingTyped) {
    os.mail.outcome = MailOutcome::SenderRejected;
    fill("Ann", "555", "ann@example.test", "It beeps.");
    host.click(contact().cmdSend);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please enter a valid email address."}));
    EXPECT_TRUE(contact().loaded());
    EXPECT_TRUE(contact().cmdSend.enabled());
    EXPECT_EQ(contact().txtEmail.text(), "ann@example.test");
    EXPECT_EQ(contact().caption(), "Contact Us");
    EXPECT_EQ(modGlobal::EmailSent, modGlobal::kTrue);
}

TEST_F(ContactWindow, AnyOtherFailureSaysNotSentAndKeepsTheWindow) {
    for (MailOutcome o : {MailOutcome::CouldNotConnect, MailOutcome::LoginRefused, MailOutcome::TimedOut}) {
        host.msgBoxes.clear();
        os.mail.outcome = o;
        fill("Ann", "555", "ann@example.test", "It beeps.");
        host.click(contact().cmdSend);
        EXPECT_EQ(messages(), (std::vector<std::string>{mEmail::NotSentMessage(o)}));
        EXPECT_TRUE(contact().loaded());
        EXPECT_TRUE(contact().visible());
        EXPECT_TRUE(contact().cmdSend.enabled());
        EXPECT_EQ(contact().txtMsg.text(), "It beeps.");
        EXPECT_EQ(contact().caption(), "Contact Us");
    }
}

TEST_F(ContactWindow, TheWebAddressOpensTheHomePage) {
    EXPECT_EQ(contact().lblWWW.caption(), store::kWebHost);
    host.click(contact().lblWWW);
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    EXPECT_EQ(os.launcher.requests[0].file, store::kHomePageUrl);
    EXPECT_EQ(os.launcher.requests[0].verb, "Open");
}

}  // namespace
