#include <gtest/gtest.h>

#include <algorithm>

#include "app/global_state.h"
#include "app/startup.h"
#include "app/version.h"
#include "support/dashboard_fixture.h"

namespace {

using Startup = fakes::DashboardTest;

std::string Settings(int sww, int mos) {
    return "[SETTINGS]\r\nLast Store Visit = 7/19/2017\r\nRemind Me Date = 1/17/2018\r\nRemind Me In = 0\r\n"
           "Start With Windows = " + std::to_string(sww) + "\r\nMinimize on Startup = " + std::to_string(mos) +
           "\r\n\r\n[COMPANY INFO]\r\n\r\n";
}

bool Has(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST_F(Startup, ShowsTheVersionedDashboardWithTrayIcon) {
    ASSERT_TRUE(startUp());
    EXPECT_EQ(dash().caption(), app::VersionedTitle());
    EXPECT_TRUE(dash().visible());
    ASSERT_EQ(host.trayCalls.size(), 2u);
    EXPECT_EQ(host.trayCalls[0].request, ui::TrayRequest::Add);
    EXPECT_EQ(host.trayCalls[1].request, ui::TrayRequest::Modify);
    // The tray owner exists from the icon's registration on, and is never shown.
    auto realizeMenu = std::find(host.log.begin(), host.log.end(), "realize frmMenu");
    EXPECT_NE(realizeMenu, host.log.end());
    EXPECT_FALSE(Has(host.log, "show frmMenu"));
    // Shown last, and repainted at once.
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[host.log.size() - 2], "show frmSysTray");
    EXPECT_EQ(host.log.back(), "refresh frmSysTray");
    // A missing settings file was created before the window appeared.
    EXPECT_TRUE(os.files.exists(settingsPath()));
    EXPECT_EQ(dash().lblLastStoreVisit.caption(), "7/19/2017");
}

TEST_F(Startup, TimersRunFromTheWindowsCreation) {
    ASSERT_TRUE(startUp());
    for (ui::Timer* t : {&dash().tmrDateTime, &dash().tmrGetCPU, &dash().tmrVisit}) EXPECT_TRUE(t->enabled()) << t->name();
    EXPECT_EQ(dash().tmrDateTime.interval(), 2000);
    EXPECT_EQ(dash().tmrGetCPU.interval(), 500);
    EXPECT_EQ(dash().tmrVisit.interval(), 60000);
}

struct SwitchCase {
    int sww, mos;
    int registrations;
    bool shown;
};

class StartupSwitches : public fakes::DashboardTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(StartupSwitches, OnlyTheValueOneSwitchesOn) {
    const SwitchCase& c = GetParam();
    os.files.files[settingsPath()] = Settings(c.sww, c.mos);
    ASSERT_TRUE(startUp());
    EXPECT_EQ(os.sessionStart.registrations, c.registrations);
    EXPECT_EQ(dash().visible(), c.shown);
    EXPECT_EQ(Has(host.log, "show frmSysTray"), c.shown);
    if (!c.shown) {
        // Hidden exactly as by the Exit button: minimised, still loaded, icon still there.
        EXPECT_TRUE(Has(host.log, "hide frmSysTray"));
        EXPECT_EQ(dash().windowState(), ui::WindowState::Minimized);
        EXPECT_TRUE(dash().loaded());
        EXPECT_EQ(host.trayCalls.size(), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, StartupSwitches,
                         ::testing::Values(SwitchCase{1, 0, 1, true}, SwitchCase{0, 0, 0, true},
                                           SwitchCase{2, 0, 0, true}, SwitchCase{-1, 2, 0, true},
                                           SwitchCase{0, 1, 0, false}, SwitchCase{1, 1, 1, false}));

TEST_F(Startup, EarlierInstanceIsBroughtForwardAndThisOneEnds) {
    os.instance.earlierRunning = true;
    os.instance.otherTitle = "TAVDashboard";
    EXPECT_FALSE(startUp());
    EXPECT_EQ(os.instance.titles, std::vector<std::string>{"unwanted instance"});
    EXPECT_EQ(os.instance.searched,
              (std::vector<std::string>{"ThunderRTMain|TAVDashboard", "ThunderRT5Main|TAVDashboard",
                                        "ThunderRT6Main|TAVDashboard"}));
    // The window just above the other instance's application window is restored and raised.
    EXPECT_EQ(os.instance.calls, (std::vector<std::string>{"openIcon 200", "foreground 200"}));
    EXPECT_TRUE(host.trayCalls.empty());
    EXPECT_FALSE(Has(host.log, "show frmSysTray"));
    EXPECT_TRUE(os.files.files.empty());  // ended before the settings were read
}

TEST_F(Startup, SearchStopsAtTheFirstClassFound) {
    os.instance.earlierRunning = true;
    os.instance.otherClass = "ThunderRTMain";
    os.instance.otherTitle = "TAVDashboard";
    EXPECT_FALSE(startUp());
    EXPECT_EQ(os.instance.searched, std::vector<std::string>{"ThunderRTMain|TAVDashboard"});
}

TEST_F(Startup, EarlierInstanceWithoutWindowLeavesThisOneUnwanted) {
    os.instance.earlierRunning = true;
    ASSERT_TRUE(startUp());
    EXPECT_EQ(os.instance.searched.size(), 3u);
    EXPECT_TRUE(os.instance.calls.empty());
    EXPECT_EQ(ui::app().title, "unwanted instance");
    EXPECT_TRUE(dash().visible());
    EXPECT_EQ(host.trayCalls.size(), 2u);
}

TEST_F(Startup, NoEarlierInstanceSearchesNothing) {
    ASSERT_TRUE(startUp());
    EXPECT_TRUE(os.instance.searched.empty());
    EXPECT_EQ(ui::app().title, "TAVDashboard");
}

TEST(VersionedTitle, PlainDecimals) {
    EXPECT_EQ(app::VersionedTitle(1, 0, 32), "TAV Dashboard v1.0.32");
    EXPECT_EQ(app::VersionedTitle(2, 10, 5), "TAV Dashboard v2.10.5");
}

}  // namespace
