#include <gtest/gtest.h>

#include "app/global_state.h"
#include "mail/send_email.h"
#include "store_config.h"
#include "support/dashboard_fixture.h"
#include "visits/frm_appt.h"

namespace {

using platform::Date;
using platform::MailOutcome;

const Date kToday = Date::fromYmd(2017, 7, 19);  // a Wednesday
const Date kSunday = Date::fromYmd(2017, 7, 23);
const char* const kIncomplete = "Please make sure to complete form before pressing Send.";
const std::string kSent = std::string("Email sent to ") + store::kName + ".  A technician will respond as soon as possible.";

struct ReminderCase {
    Date today;
    int option;
    Date date;
    int16_t days;
};

class Reminders : public ::testing::TestWithParam<ReminderCase> {};

TEST_P(Reminders, DateAndInterval) {
    const ReminderCase& c = GetParam();
    const visits::Reminder r = visits::ReminderFor(c.option, c.today);
    EXPECT_EQ(r.date, c.date);
    EXPECT_EQ(r.days, c.days);
}

INSTANTIATE_TEST_SUITE_P(
    Options, Reminders,
    ::testing::Values(ReminderCase{kToday, 1, Date::fromYmd(2017, 7, 20), 1},
                      ReminderCase{Date::fromYmd(2017, 12, 31), 1, Date::fromYmd(2018, 1, 1), 1},
                      ReminderCase{kToday, 2, Date::fromYmd(2017, 7, 26), 7},
                      ReminderCase{Date::fromYmd(2017, 1, 31), 3, Date::fromYmd(2017, 2, 28), 30},
                      ReminderCase{Date::fromYmd(2016, 1, 31), 3, Date::fromYmd(2016, 2, 29), 30},
                      ReminderCase{Date::fromYmd(2017, 12, 15), 3, Date::fromYmd(2018, 1, 15), 30},
                      ReminderCase{Date::fromYmd(2016, 8, 31), 4, Date::fromYmd(2017, 2, 28), 182},
                      ReminderCase{Date::fromYmd(2015, 8, 31), 4, Date::fromYmd(2016, 2, 29), 182},
                      ReminderCase{Date::fromYmd(2017, 3, 31), 4, Date::fromYmd(2017, 9, 30), 182}));

class AppointmentWindow : public fakes::DashboardTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(startUp());
        dash().cmdExit_Click();
        dash().cmdAppt_Click();
        host.msgBoxes.clear();
    }
    visits::frmAppt& appt() { return ui::app().form<visits::frmAppt>(); }
    void pick(ui::OptionButton& o) { application->dispatch([&o] { o.userSelect(); }); }
    void fill() {
        appt().txtName.userSet("Ann Lee");
        appt().txtPhone.userSet("555 0100");
        appt().txtEmail.userSet("ann@example.test");
        appt().txtMsg.userSet("Fan is loud.");
        pick(appt().optRemote[0]);
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> t;
        for (const auto& m : host.msgBoxes) t.push_back(m.text);
        return t;
    }
};

TEST_F(AppointmentWindow, OpensOverTheDashboardFromScheduleAppt) {
    EXPECT_TRUE(dash().visible());
    EXPECT_TRUE(appt().visible());
    EXPECT_EQ(appt().caption(), "Setup Appointment");
    EXPECT_EQ(appt().dtAppt.value(), kToday);
    EXPECT_EQ(appt().txtApptTime.text(), "9am-6pm");
    EXPECT_EQ(appt().lblLastStoreVisit.caption(), dash().lblLastStoreVisit.caption());
    EXPECT_EQ(appt().lblNextStoreVisit.caption(), dash().lblNextStoreVisit.caption());
    EXPECT_TRUE(appt().optRemindMe[0].value());
    EXPECT_FALSE(appt().cmdRemind.enabled());
    EXPECT_TRUE(appt().cmdSend.enabled());
}

TEST_F(AppointmentWindow, OnlyOneOfSendAndSetReminderIsAvailable) {
    pick(appt().optRemindMe[1]);
    EXPECT_TRUE(appt().cmdRemind.enabled());
    EXPECT_FALSE(appt().cmdSend.enabled());
    pick(appt().optRemindMe[0]);
    EXPECT_FALSE(appt().cmdRemind.enabled());
    EXPECT_TRUE(appt().cmdSend.enabled());
}

TEST_F(AppointmentWindow, SundaysAreClosedWhateverTheLanguage) {
    appt().txtApptTime.userSet("10am");
    appt().dtAppt.userSet(kSunday);
    EXPECT_EQ(appt().txtApptTime.text(), "(Closed)");
    appt().dtAppt.userSet(kSunday + 1);
    EXPECT_EQ(appt().txtApptTime.text(), "9am-6pm");
}

using AppointmentOnASunday = fakes::DashboardTest;

TEST_F(AppointmentOnASunday, TheInitialDateSaysClosed) {
    os.clock.time.date = kSunday;
    ASSERT_TRUE(startUp());
    dash().cmdAppt_Click();
    EXPECT_EQ(ui::app().form<visits::frmAppt>().txtApptTime.text(), "(Closed)");
}

struct SendCheck {
    const char* name;
    const char* fullName;
    const char* phone;
    const char* email;
    bool sunday;
    const char* time;
    int remote;  // -1: none picked
    std::vector<std::string> messages;
};

class AppointmentChecks : public AppointmentWindow, public ::testing::WithParamInterface<SendCheck> {};

TEST_P(AppointmentChecks, MessagesInOrderAndNothingSent) {
    const SendCheck& c = GetParam();
    appt().txtName.userSet(c.fullName);
    appt().txtPhone.userSet(c.phone);
    appt().txtEmail.userSet(c.email);
    if (c.sunday) appt().dtAppt.userSet(kSunday);
    appt().txtApptTime.userSet(c.time);
    if (c.remote >= 0) pick(appt().optRemote[static_cast<size_t>(c.remote)]);
    host.click(appt().cmdSend);
    EXPECT_EQ(messages(), c.messages);
    EXPECT_TRUE(os.mail.sent.empty());
    EXPECT_TRUE(appt().loaded());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, AppointmentChecks,
    ::testing::Values(SendCheck{"NoName", "", "555", "a@b.c", false, "9am", 0, {kIncomplete}},
                      SendCheck{"NoPhone", "Ann", "", "a@b.c", false, "9am", 0, {kIncomplete}},
                      SendCheck{"NoEmail", "Ann", "555", "", false, "9am", 0, {kIncomplete}},
                      SendCheck{"NoDot", "Ann", "555", "a@b", false, "9am", 0, {"Invalid Email!", kIncomplete}},
                      SendCheck{"NoAt", "Ann", "555", "a.b", false, "9am", 0, {"Invalid Email!", kIncomplete}},
                      SendCheck{"Sunday", "Ann", "555", "a@b.c", true, "(Closed)", 0,
                                {"Sorry, we are closed on Sundays.", kIncomplete}},
                      SendCheck{"NoTime", "Ann", "555", "a@b.c", false, "", 0, {kIncomplete}},
                      SendCheck{"NoRemoteChoice", "Ann", "555", "a@b.c", false, "9am", -1, {kIncomplete}},
                      SendCheck{"InvalidBeforeSunday", "Ann", "555", "ab", true, "9am", 0,
                                {"Invalid Email!", kIncomplete}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppointmentWindow, TheRequestCarriesTwentyTwoLines) {
    dash().lblOS.setCaption("OS");
    dash().lblCPU.setCaption("CPU");
    dash().lblMemory.setCaption("MEM");
    dash().lblHDD.setText("C: 1\r\nD: 2");
    dash().lblCPUAvg.setCaption("AVG");
    dash().lblSysUptime.setCaption("UP");
    fill();
    appt().dtAppt.userSet(Date::fromYmd(2017, 7, 24));
    pick(appt().optRemote[1]);
    bool disabledMeanwhile = false;
    os.mail.onSend = [&] { disabledMeanwhile = !appt().cmdSend.enabled(); };
    host.click(appt().cmdSend);
    EXPECT_TRUE(disabledMeanwhile);
    ASSERT_EQ(os.mail.sent.size(), 1u);
    const std::string& bytes = os.mail.sent[0].bytes;
    EXPECT_NE(bytes.find("Subject: Check-up Appointment from TAV Dashboard\r\n"), std::string::npos);
    EXPECT_EQ(os.mail.sent[0].from, "ann@example.test");
    EXPECT_EQ(bytes.substr(bytes.find("\r\n\r\n") + 4),
              "Ann Lee\r\n555 0100\r\n\r\nFan is loud.\r\n\r\nOS\r\n\r\nCPU\r\n\r\nMEM\r\n\r\nC: 1\r\nD: 2\r\n\r\n"
              "AVG\r\n\r\nUP\r\n\r\nPreferred Check-up Date: 7/24/2017\r\nPreferred Check-up Time: 9am-6pm\r\n"
              "Customer would like us to remote in first for initial status?: No\r\n\r\n"
              "PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE TO VERIFY APPOINTMENT DATE/TIME\r\n");
    EXPECT_EQ(messages(), (std::vector<std::string>{kSent}));
    EXPECT_FALSE(ui::app().isLoaded<visits::frmAppt>());
    EXPECT_EQ(modGlobal::dLastStoreVisit, kToday);  // sending changes no date
}

TEST_F(AppointmentWindow, RemoteAssistanceAnswersYes) {
    fill();
    host.click(appt().cmdSend);
    ASSERT_EQ(os.mail.sent.size(), 1u);
    EXPECT_NE(os.mail.sent[0].bytes.find("remote in first for initial status?: Yes\r\n"), std::string::npos);
}

TEST_F(AppointmentWindow, AFailedSendSaysSoAndKeepsTheRequest) {
    for (MailOutcome o : {MailOutcome::CouldNotConnect, MailOutcome::SenderRejected}) {
        host.msgBoxes.clear();
        os.mail.outcome = o;
        fill();
        host.click(appt().cmdSend);
        const std::string expected = o == MailOutcome::SenderRejected ? "Please enter a valid email address."
                                                                      : mEmail::NotSentMessage(o);
        EXPECT_EQ(messages(), (std::vector<std::string>{expected}));
        EXPECT_TRUE(appt().loaded());
        EXPECT_TRUE(appt().cmdSend.enabled());
        EXPECT_EQ(appt().txtMsg.text(), "Fan is loud.");
    }
}

TEST_F(AppointmentWindow, SetReminderStoresItAndShowsTheDashboard) {
    dash().cmdExit_Click();
    pick(appt().optRemindMe[2]);  // Next Week
    os.files.writes = 0;
    host.click(appt().cmdRemind);
    EXPECT_EQ(modGlobal::dRemindMeDate, kToday + 7);
    EXPECT_EQ(modGlobal::iRemindMeIn, 7);
    EXPECT_EQ(os.files.writes, 1);
    const std::string& file = os.files.files[settingsPath()];
    EXPECT_NE(file.find("Remind Me Date = 7/26/2017\r\nRemind Me In = 7\r\n"), std::string::npos) << file;
    EXPECT_EQ(messages(), (std::vector<std::string>{"A reminder has been set, thank you."}));
    EXPECT_TRUE(dash().visible());
    EXPECT_EQ(dash().windowState(), ui::WindowState::Normal);
    EXPECT_FALSE(ui::app().isLoaded<visits::frmAppt>());
}

TEST_F(AppointmentWindow, SetReminderWithSetupApptNowStoresNothing) {
    os.files.writes = 0;
    application->dispatch([this] { appt().cmdRemind_Click(); });
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please fill out form on right side and click Send."}));
    EXPECT_EQ(os.files.writes, 0);
    EXPECT_TRUE(appt().loaded());
}

TEST_F(AppointmentWindow, AReminderThatCannotBeSavedIsNotCalledSet) {
    os.files.readOnlyFolder = true;
    pick(appt().optRemindMe[1]);
    host.click(appt().cmdRemind);
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text.rfind("The settings could not be saved", 0), 0u) << host.msgBoxes[0].text;
    EXPECT_TRUE(appt().loaded());
    EXPECT_EQ(modGlobal::iRemindMeIn, 1);  // in force for this run
}

TEST_F(AppointmentWindow, TheWebAddressOpensTheHomePage) {
    host.click(appt().lblWWW);
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    EXPECT_EQ(os.launcher.requests[0].file, store::kHomePageUrl);
}

}  // namespace
