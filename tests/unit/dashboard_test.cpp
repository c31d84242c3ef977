#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/frm_menu.h"
#include "app/global_state.h"
#include "app/startup.h"
#include "support/dashboard_fixture.h"

namespace {

class Dashboard : public fakes::DashboardTest {
protected:
    void SetUp() override { ASSERT_TRUE(startUp()); host.log.clear(); }
    bool logged(const std::string& entry) const {
        return std::find(host.log.begin(), host.log.end(), entry) != host.log.end();
    }
};

TEST_F(Dashboard, ExitButtonAndCloseBoxOnlyHide) {
    for (auto request : {+[](app::frmSysTray& d) { d.cmdExit_Click(); }, +[](app::frmSysTray& d) { d.hostCloseRequest(); }}) {
        dash().Show();
        request(dash());
        EXPECT_FALSE(dash().visible());
        EXPECT_TRUE(dash().loaded());
        EXPECT_EQ(dash().windowState(), ui::WindowState::Minimized);
        EXPECT_TRUE(dash().tmrGetCPU.enabled());
        EXPECT_EQ(host.trayCalls.size(), 2u);  // the icon stays
        EXPECT_FALSE(logged("destroy frmSysTray"));
    }
}

TEST_F(Dashboard, TrayExitDeletesTheIconThenEnds) {
    host.onPopup = [](ui::Menu& menu) { menu.items().back()->Click(); };
    host.trayCallback(app::WM_RBUTTONUP);
    ASSERT_EQ(host.trayCalls.size(), 3u);
    const fakes::TrayCall& del = host.trayCalls.back();
    EXPECT_EQ(del.request, ui::TrayRequest::Delete);
    EXPECT_EQ(std::memcmp(&del.record.szTip, &host.trayCalls[0].record.szTip, 64), 0);
    EXPECT_EQ(del.record.owner, host.trayCalls[0].record.owner);
    const auto hide = std::find(host.log.begin(), host.log.end(), "hide frmSysTray");
    const auto end = std::find(host.log.begin(), host.log.end(), "end 0");
    ASSERT_NE(end, host.log.end());
    EXPECT_LT(hide, end);
}

TEST_F(Dashboard, TrayRecord) {
    const ui::TrayIcon& nid = host.trayCalls[0].record;
    EXPECT_EQ(nid.cbSize, 88u);
    EXPECT_EQ(nid.owner, ui::app().find("frmMenu"));
    EXPECT_EQ(nid.uID, 1u);
    EXPECT_EQ(nid.uFlags, 7u);
    EXPECT_EQ(nid.uCallbackMessage, 0x200u);
    EXPECT_EQ(nid.icon, dash().icon);
    std::string tip(nid.szTip, sizeof nid.szTip);
    EXPECT_EQ(tip, std::string("TAV Dashboard") + '\0' + std::string(64 - 14, ' '));
}

TEST_F(Dashboard, TrayMenuItemsInOrder) {
    std::vector<std::string> captions;
    for (ui::Menu* item : dash().Menu.items()) captions.push_back(item->caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"Show Dashboard", "-", "Contact TAV", "Connect to Tech", "Launch Tools",
                                                  "Schedule Appt", "-", "Exit"}));
}

struct TrayCodeCase {
    int code;
    bool shows;
    bool popsUp;
};

class TrayCallback : public Dashboard, public ::testing::WithParamInterface<TrayCodeCase> {};

TEST_P(TrayCallback, ActsOnThreeCodesOnly) {
    const TrayCodeCase& c = GetParam();
    dash().cmdExit_Click();
    host.log.clear();
    host.trayCallback(c.code);
    EXPECT_EQ(dash().visible(), c.shows);
    EXPECT_EQ(logged("show frmSysTray"), c.shows);
    if (c.shows) {
        EXPECT_EQ(dash().windowState(), ui::WindowState::Normal);
    }
    EXPECT_EQ(logged("popup Menu by frmMenu"), c.popsUp);
    EXPECT_EQ(logged("foreground frmSysTray"), c.shows || c.popsUp);
}

INSTANTIATE_TEST_SUITE_P(Codes, TrayCallback,
                         ::testing::Values(TrayCodeCase{0x202, true, false}, TrayCodeCase{0x203, true, false},
                                           TrayCodeCase{0x205, false, true}, TrayCodeCase{0x200, false, false},
                                           TrayCodeCase{0x201, false, false}, TrayCodeCase{0x204, false, false},
                                           TrayCodeCase{0x206, false, false}, TrayCodeCase{0x208, false, false}));

TEST(TrayMessageCode, CoordinateBackToCode) {
    struct Case {
        float x, tpp;
        int32_t code;
    };
    const Case cases[] = {
        {0x202 * 15.0f, 15, 0x202}, {0x205 * 12.0f, 12, 0x205},  // 120 dpi
        {0x203 * 15.0f + 7, 15, 0x203},                           // rounds to the nearest
        {514.5f * 15.0f, 15, 514},  {515.5f * 15.0f, 15, 516},    // ties to even
        {0x202, 1, 0x202},                                        // a scale of pixels
    };
    for (const Case& c : cases) EXPECT_EQ(app::TrayMessageCode(c.x, c.tpp), c.code) << c.x << " / " << c.tpp;
}

TEST_F(Dashboard, RightButtonUpOnTheHiddenOwnerPopsUpTheMenu) {
    ui::Form& owner = *ui::app().find("frmMenu");
    owner.Form_MouseUp(ui::kLeftButton, 0, 0, 0);
    EXPECT_FALSE(logged("popup Menu by frmMenu"));
    owner.Form_MouseUp(ui::kRightButton, 0, 0, 0);
    EXPECT_TRUE(logged("popup Menu by frmMenu"));
}

TEST_F(Dashboard, ShowDashboardRestoresWithoutForcingForeground) {
    dash().cmdExit_Click();
    host.log.clear();
    dash().mnuShowDash_Click();
    EXPECT_TRUE(dash().visible());
    EXPECT_EQ(dash().windowState(), ui::WindowState::Normal);
    EXPECT_FALSE(logged("foreground frmSysTray"));
}

struct DragCase {
    const char* name;
    ui::WindowState state;
    float width, height;  // the window before the drag
    int16_t downButton;
    float downX, downY, moveX, moveY;
    float left, top, endWidth, endHeight;  // expected afterwards
};

class HeaderDrag : public Dashboard, public ::testing::WithParamInterface<DragCase> {};

TEST_P(HeaderDrag, Moves) {
    const DragCase& c = GetParam();
    host.screenW = 16000;
    host.screenH = 12000;
    dash().hostGeometry(1000, 2000, c.width, c.height);
    dash().hostWindowState(c.state);
    dash().lblHeader_MouseDown(c.downButton, 0, c.downX, c.downY);
    dash().lblHeader_MouseMove(c.downButton, 0, c.moveX, c.moveY);
    EXPECT_FLOAT_EQ(dash().left(), c.left);
    EXPECT_FLOAT_EQ(dash().top(), c.top);
    EXPECT_FLOAT_EQ(dash().width(), c.endWidth);
    EXPECT_FLOAT_EQ(dash().height(), c.endHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderDrag,
    ::testing::Values(
        DragCase{"LeftButtonMoves", ui::WindowState::Normal, 12240, 8900, 1, 300, 100, 450, 40, 1150, 1940, 12240, 8900},
        DragCase{"RightButtonDoesNot", ui::WindowState::Normal, 12240, 8900, 2, 300, 100, 450, 40, 1000, 2000, 12240, 8900},
        DragCase{"MaximisedDoesNot", ui::WindowState::Maximized, 12240, 8900, 1, 300, 100, 450, 40, 1000, 2000, 12240, 8900},
        DragCase{"ScreenWideShrinksFirst", ui::WindowState::Normal, 16000, 12000, 1, 300, 100, 310, 100, 1010, 2000, 12000,
                 9000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Dashboard, ReleaseOfAnyButtonEndsTheDrag) {
    dash().hostGeometry(1000, 2000, 12240, 8900);
    dash().lblHeader_MouseDown(ui::kLeftButton, 0, 300, 100);
    dash().lblHeader_MouseUp(ui::kRightButton, 0, 300, 100);
    dash().lblHeader_MouseMove(ui::kLeftButton, 0, 900, 100);
    EXPECT_FLOAT_EQ(dash().left(), 1000);
    EXPECT_EQ(modGlobal::bDragging, modGlobal::kFalse);
}

TEST(ClockTimeText, TwelveHourClock) {
    const std::tuple<int, int, const char*> cases[] = {
        {0, 5, "12:05 AM"}, {9, 7, "9:07 AM"}, {11, 59, "11:59 AM"}, {12, 0, "12:00 PM"}, {13, 30, "1:30 PM"}, {23, 59, "11:59 PM"}};
    for (const auto& [h, m, text] : cases) EXPECT_EQ(app::ClockTimeText(h, m), text);
}

TEST_F(Dashboard, ClockShowsTheDesignTextsUntilItsFirstTick) {
    EXPECT_EQ(dash().lblDate.caption(), "8/16/2016");
    EXPECT_EQ(dash().lblTime.caption(), "12:00 PM");
    os.clock.time = platform::LocalTime{platform::Date::fromYmd(2026, 12, 10), 0, 41, 12};
    host.tick(dash().tmrDateTime);
    EXPECT_EQ(dash().lblDate.caption(), "12/10/2026");
    EXPECT_EQ(dash().lblTime.caption(), "12:41 AM");
}

TEST_F(Dashboard, VisitTimerCountsToTwoHundredForty) {
    host.tick(dash().tmrVisit, 239);
    EXPECT_EQ(dash().iMin, 239);
    host.tick(dash().tmrVisit);
    EXPECT_EQ(dash().iMin, 0);
}

}  // namespace
