#include <gtest/gtest.h>

#include "app/global_state.h"
#include "support/dashboard_fixture.h"
#include "visits/frm_pref.h"

namespace {

using platform::Date;

class PreferencesWindow : public fakes::DashboardTest {
protected:
    void SetUp() override {
        os.files.files[settingsPath()] =
            "[SETTINGS]\r\nLast Store Visit = 3/1/2017\r\nRemind Me Date = 1/17/2018\r\nRemind Me In = 7\r\n"
            "Start With Windows = 1\r\nMinimize on Startup = 0\r\n\r\n[COMPANY INFO]\r\n\r\n";
        ASSERT_TRUE(startUp());
        open();
    }
    void open() {
        application->dispatch([this] { if (dash().imgPref.DblClick) dash().imgPref.DblClick(); });
    }
    visits::frmPref& pref() { return ui::app().form<visits::frmPref>(); }
    std::string file() { return os.files.files[settingsPath()]; }
};

TEST_F(PreferencesWindow, LoadFillsAndShowsIt) {
    EXPECT_TRUE(pref().visible());
    EXPECT_EQ(pref().chkStartWithWindows.value(), 1);
    EXPECT_EQ(pref().chkMinOnStartup.value(), 0);
    EXPECT_EQ(pref().txtRemindMeDays.text(), "7");
    EXPECT_EQ(pref().dtLastVisit.value(), Date::fromYmd(2017, 3, 1));
    EXPECT_EQ(pref().dtNextVisit.value(), Date::fromYmd(2017, 8, 30));
    EXPECT_EQ(pref().dtRemindMeIn.value(), Date::fromYmd(2018, 1, 17));
}

TEST_F(PreferencesWindow, OkStoresTheValuesThenSaysSaved) {
    pref().dtLastVisit.userSet(Date::fromYmd(2017, 7, 1));
    EXPECT_EQ(pref().dtNextVisit.value(), Date::fromYmd(2017, 12, 30));
    pref().chkStartWithWindows.userSet(0);
    pref().txtRemindMeDays.userSet(" 12 ");
    pref().dtNextVisit.userSet(Date::fromYmd(2030, 1, 1));  // shown only, never stored
    host.click(pref().cmdOK);
    EXPECT_EQ(file(),
              "[SETTINGS]\r\nLast Store Visit = 7/1/2017\r\nRemind Me Date = 1/17/2018\r\nRemind Me In = 12\r\n"
              "Start With Windows = 0\r\nMinimize on Startup = 0\r\n\r\n[COMPANY INFO]\r\n\r\n");
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text, "Settings Saved.");
    EXPECT_FALSE(ui::app().isLoaded<visits::frmPref>());
    // The dashboard keeps the dates read at start-up.
    EXPECT_EQ(dash().lblLastStoreVisit.caption(), "3/1/2017");
}

TEST_F(PreferencesWindow, OkRewritesTheFileEvenUnchanged) {
    os.files.writes = 0;
    host.click(pref().cmdOK);
    EXPECT_EQ(os.files.writes, 1);
}

TEST_F(PreferencesWindow, CancelUnloadsFirstThenSaysNotChanged) {
    pref().txtRemindMeDays.userSet("99");
    os.files.writes = 0;
    host.log.clear();
    host.click(pref().cmdCancel);
    EXPECT_EQ(os.files.writes, 0);
    EXPECT_EQ(modGlobal::iRemindMeIn, 7);
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text, "Settings NOT Changed.");
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.front(), "destroy frmPref");  // gone before the message
    EXPECT_TRUE(pref().cmdCancel.isCancel);
    EXPECT_TRUE(pref().cmdOK.isDefault);
}

TEST_F(PreferencesWindow, TheCloseBoxDiscardsSilently) {
    pref().txtRemindMeDays.userSet("99");
    os.files.writes = 0;
    application->dispatch([this] { pref().hostCloseRequest(); });
    EXPECT_FALSE(ui::app().isLoaded<visits::frmPref>());
    EXPECT_TRUE(host.msgBoxes.empty());
    EXPECT_EQ(os.files.writes, 0);
    EXPECT_EQ(modGlobal::iRemindMeIn, 7);
}

TEST_F(PreferencesWindow, ADoubleClickWhileOpenDoesNothing) {
    pref().txtRemindMeDays.userSet("99");
    host.log.clear();
    open();
    EXPECT_EQ(pref().txtRemindMeDays.text(), "99");
    EXPECT_TRUE(host.log.empty());
}

TEST_F(PreferencesWindow, ADaysTextThatIsNoSixteenBitNumberIsNamedAndNothingChanges) {
    for (const char* bad : {"", "seven", "1.5", "32768", "-32769", "7 days"}) {
        host.msgBoxes.clear();
        os.files.writes = 0;
        pref().chkMinOnStartup.userSet(1);
        pref().txtRemindMeDays.userSet(bad);
        host.click(pref().cmdOK);
        ASSERT_EQ(host.msgBoxes.size(), 1u) << bad;
        EXPECT_NE(host.msgBoxes[0].text.find("Remind me in (days)"), std::string::npos);
        EXPECT_NE(host.msgBoxes[0].text.find("-32768 to 32767"), std::string::npos);
        EXPECT_EQ(os.files.writes, 0) << bad;
        EXPECT_EQ(modGlobal::iMinimizeOnStartup, 0) << bad;
        EXPECT_TRUE(ui::app().isLoaded<visits::frmPref>());
    }
}

TEST_F(PreferencesWindow, AFailedSaveIsNotCalledSaved) {
    os.files.readOnlyFolder = true;
    pref().txtRemindMeDays.userSet("3");
    host.click(pref().cmdOK);
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text.rfind("The settings could not be saved", 0), 0u);
    EXPECT_NE(host.msgBoxes[0].text.find(settingsPath()), std::string::npos);
    EXPECT_TRUE(ui::app().isLoaded<visits::frmPref>());
    EXPECT_EQ(modGlobal::iRemindMeIn, 3);  // in force for this run
}

TEST(CheckBoxValueOf, GreyedForTwoUncheckedForOthers) {
    const std::pair<int16_t, int16_t> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {32767, 0}};
    for (const auto& [setting, shown] : cases) EXPECT_EQ(visits::CheckBoxValueOf(setting), shown) << setting;
}

}  // namespace
