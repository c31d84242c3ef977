#include <gtest/gtest.h>

#include "mail/mail_message.h"

namespace {

mEmail::Message Fixture() {
    mEmail::Message m;
    m.subject = "Tech request from TAV Dashboard";
    m.body = "Ann\r\n555\r\n\r\n.first dot\r\n";
    m.from = "ann@example.test";
    m.senderName = "TAV Dashboard";
    m.senderAddress = "dashboard@store.test";
    m.to = "inbox@store.test";
    m.date = "Thu, 10 Dec 2026 10:17:50 -0500";
    m.messageId = "<abc@store.test>";
    return m;
}

TEST(ComposeMessage, HeadersThenTheBodyAsItStands) {
    EXPECT_EQ(mEmail::ComposeMessage(Fixture()),
              "Subject: Tech request from TAV Dashboard\r\n"
              "From: ann@example.test\r\n"
              "Sender: \"TAV Dashboard\" <dashboard@store.test>\r\n"
              "To: inbox@store.test\r\n"
              "X-MSMail-Priority: High \r\n"
              "Importance: high\r\n"
              "Date: Thu, 10 Dec 2026 10:17:50 -0500\r\n"
              "Message-ID: <abc@store.test>\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=UTF-8\r\n"
              "Content-Transfer-Encoding: 8bit\r\n"
              "\r\n"
              "Ann\r\n555\r\n\r\n.first dot\r\n");
}

TEST(ComposeMessage, LoneLineBreaksBecomeCrLf) {
    mEmail::Message m = Fixture();
    m.body = "typed on Linux\nand\rold Mac\r\n";
    const std::string out = mEmail::ComposeMessage(m);
    EXPECT_EQ(out.substr(out.find("\r\n\r\n") + 4), "typed on Linux\r\nand\r\nold Mac\r\n");
}

TEST(ComposeMessage, ALineLongerThanSmtpAllowsGoesQuotedPrintable) {
    mEmail::Message m = Fixture();
    m.body = std::string(1200, 'a') + " caf\xc3\xa9=\r\nshort\r\n";
    const std::string out = mEmail::ComposeMessage(m);
    EXPECT_NE(out.find("Content-Transfer-Encoding: quoted-printable\r\n"), std::string::npos);
    const std::string body = out.substr(out.find("\r\n\r\n") + 4);
    size_t start = 0, longest = 0;
    while (start < body.size()) {
        size_t end = body.find("\r\n", start);
        if (end == std::string::npos) end = body.size();
        longest = std::max(longest, end - start);
        start = end + 2;
    }
    EXPECT_LE(longest, 76u);
    EXPECT_NE(body.find("caf=C3=A9=3D\r\nshort\r\n"), std::string::npos);
}

struct DateCase {
    int y, m, d, hh, mm, ss, offset;
    const char* text;
};

class MailDateCases : public ::testing::TestWithParam<DateCase> {};

TEST_P(MailDateCases, WeekdayDateTimeAndOffset) {
    const DateCase& c = GetParam();
    platform::LocalTime t{platform::Date::fromYmd(c.y, c.m, c.d), c.hh, c.mm, c.ss};
    EXPECT_EQ(mEmail::MailDate(t, c.offset), c.text);
}

INSTANTIATE_TEST_SUITE_P(Dates, MailDateCases,
                         ::testing::Values(DateCase{2026, 12, 10, 10, 17, 50, 0, "Thu, 10 Dec 2026 10:17:50 +0000"},
                                           DateCase{2024, 2, 29, 23, 5, 9, -300, "Thu, 29 Feb 2024 23:05:09 -0500"},
                                           DateCase{2017, 7, 16, 0, 0, 0, 330, "Sun, 16 Jul 2017 00:00:00 +0530"},
                                           DateCase{1899, 12, 30, 12, 0, 0, -570, "Sat, 30 Dec 1899 12:00:00 -0930"},
                                           DateCase{2000, 1, 1, 9, 30, 0, 60, "Sat, 1 Jan 2000 09:30:00 +0100"}));

TEST(IsSafeAddress, ControlCharactersAreRefused) {
    EXPECT_TRUE(mEmail::IsSafeAddress("ann@example.test"));
    EXPECT_TRUE(mEmail::IsSafeAddress("j\xc3\xbcrgen@b\xc3\xa4r.test"));
    EXPECT_TRUE(mEmail::IsSafeAddress("@."));
    for (const std::string& bad : {std::string("a@b.c\r\nBcc: x@y.z"), std::string("a@b.c\n"), std::string("a@b.c\r"),
                                  std::string("a\0@b.c", 6), std::string("a\t@b.c"), std::string("a\x7f@b.c"),
                                  std::string("a\x1b@b.c")}) {
        EXPECT_FALSE(mEmail::IsSafeAddress(bad)) << bad;
    }
}

TEST(NewMessageId, UniqueAndInTheAccountsDomain) {
    const std::string a = mEmail::NewMessageId("dashboard@store.test");
    const std::string b = mEmail::NewMessageId("dashboard@store.test");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.front(), '<');
    EXPECT_EQ(a.substr(a.size() - 12), "@store.test>");
}

}  // namespace
