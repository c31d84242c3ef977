#include <gtest/gtest.h>

#include "app/global_state.h"
#include "support/dashboard_fixture.h"
#include "visits/frm_appt.h"
#include "visits/visit_schedule.h"

namespace {

using platform::Date;

const Date kToday = Date::fromYmd(2017, 7, 19);  // the fake clock's day

std::string Us(Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    return std::to_string(m) + "/" + std::to_string(day) + "/" + std::to_string(y);
}

std::string SettingsFile(Date last, int remindIn, Date remindDate) {
    return "[SETTINGS]\r\nLast Store Visit = " + Us(last) + "\r\nRemind Me Date = " + Us(remindDate) +
           "\r\nRemind Me In = " + std::to_string(remindIn) +
           "\r\nStart With Windows = 0\r\nMinimize on Startup = 0\r\n\r\n[COMPANY INFO]\r\n\r\n";
}

struct VisitCase {
    const char* name;
    int lastVisitDaysAgo;
    int remindIn;
    int remindInDays;  // the remind-me date relative to today
    int bar;           // the progress bar's value after the start-up check
    bool opens;        // the appointment window opens
    int16_t daysToNext;
};

class VisitCheck : public fakes::DashboardTest, public ::testing::WithParamInterface<VisitCase> {};

TEST_P(VisitCheck, AtStartUp) {
    const VisitCase& c = GetParam();
    os.files.files[settingsPath()] = SettingsFile(kToday + -c.lastVisitDaysAgo, c.remindIn, kToday + c.remindInDays);
    ASSERT_TRUE(startUp());
    EXPECT_EQ(dash().pbLastStoreVisit.max(), 182);
    EXPECT_EQ(dash().pbLastStoreVisit.value(), c.bar);
    EXPECT_EQ(modGlobal::iDaysToNextVisit, c.daysToNext);
    const bool opened = ui::app().isLoaded<visits::frmAppt>() && ui::app().form<visits::frmAppt>().visible();
    EXPECT_EQ(opened, c.opens);
    // An opened window is shown again after the dashboard, so that it stays in front of it.
    if (c.opens) {
        EXPECT_EQ(host.log.back(), "show frmAppt");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, VisitCheck,
    ::testing::Values(VisitCase{"LastVisitToday", 0, 0, 0, 0, false, 182},
                      VisitCase{"HundredDaysAgo", 100, 0, 0, 100, false, 82},
                      VisitCase{"OneDayLeft", 181, 0, 0, 181, false, 1},
                      VisitCase{"DueToday", 182, 0, 0, 0, false, 0},
                      VisitCase{"Overdue", 183, 0, 0, 182, true, -1},
                      VisitCase{"OverdueReminderTomorrow", 183, 7, 1, 182, false, -1},
                      VisitCase{"OverdueReminderToday", 183, 7, 0, 182, true, -1},
                      VisitCase{"OverdueReminderPassed", 183, 1, -3, 182, true, -1},
                      VisitCase{"LastVisitTenDaysAhead", -10, 0, 0, 182, true, 192},
                      VisitCase{"ZeroDate", 42935, 0, 0, 182, true, INT16_MIN}),
    [](const auto& info) { return std::string(info.param.name); });

class VisitTimer : public fakes::DashboardTest {};

TEST_F(VisitTimer, TheTwoHundredFortiethTickChecksAgain) {
    // Overdue, with a reminder for tomorrow: closed at start-up, open at tomorrow's first check.
    os.files.files[settingsPath()] = SettingsFile(kToday + -200, 1, kToday + 1);
    ASSERT_TRUE(startUp());
    EXPECT_FALSE(ui::app().isLoaded<visits::frmAppt>());
    os.clock.time.date = kToday + 1;
    host.tick(dash().tmrVisit, 239);
    EXPECT_FALSE(ui::app().isLoaded<visits::frmAppt>());
    host.tick(dash().tmrVisit);
    ASSERT_TRUE(ui::app().isLoaded<visits::frmAppt>());
    EXPECT_TRUE(ui::app().form<visits::frmAppt>().visible());
    EXPECT_EQ(dash().iMin, 0);
    // The next check brings the same window forward; there is never a second one.
    visits::frmAppt* first = &ui::app().form<visits::frmAppt>();
    first->txtName.userSet("typed");
    host.tick(dash().tmrVisit, 240);
    EXPECT_EQ(&ui::app().form<visits::frmAppt>(), first);
    EXPECT_EQ(first->txtName.text(), "typed");
}

using DaysToNextVisit = fakes::DashboardTest;  // dates are read with the fake clock's format

TEST_F(DaysToNextVisit, TextsThatAreNoDateOrTooFarAwayAreOverdue) {
    EXPECT_EQ(visits::DaysToNextVisit("7/20/2017", kToday), 1);
    EXPECT_EQ(visits::DaysToNextVisit("5/31/1977", kToday), Date::fromYmd(1977, 5, 31) - kToday);
    EXPECT_EQ(visits::DaysToNextVisit("not a date", kToday), INT16_MIN);
    EXPECT_EQ(visits::DaysToNextVisit("1/1/2200", kToday), INT16_MIN);
}

}  // namespace
