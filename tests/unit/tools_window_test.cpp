#include <gtest/gtest.h>

#include <algorithm>

#include "app/frm_tools.h"
#include "mail/frm_email.h"
#include "store_config.h"
#include "support/dashboard_fixture.h"

namespace {

class ToolsWindow : public fakes::DashboardTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(startUp());
        dash().cmdLaunchTools_Click();
        host.log.clear();
    }
    app::frmTools& tools() { return ui::app().form<app::frmTools>(); }
    void move(ui::Control& c) {
        application->dispatch([&c] { if (c.MouseMove) c.MouseMove(0, 0, 100, 100); });
    }
    void moveOverBackground() { application->dispatch([this] { tools().Form_MouseMove(0, 0, 10, 10); }); }
    void release(ui::Control& c, int16_t button) {
        application->dispatch([&c, button] { if (c.MouseUp) c.MouseUp(button, 0, 100, 100); });
    }
};

TEST_F(ToolsWindow, HoverBordersFollowTheMouse) {
    app::frmTools& w = tools();
    move(w.imgCcleaner);
    EXPECT_EQ(w.imgCcleaner.borderStyle(), 1);
    EXPECT_EQ(w.imgMbam.borderStyle(), 0);
    move(w.imgMbam);
    EXPECT_EQ(w.imgCcleaner.borderStyle(), 1);  // only the background clears them
    EXPECT_EQ(w.imgMbam.borderStyle(), 1);
    move(w.Label1);  // a label leaves the borders as they are
    EXPECT_EQ(w.imgCcleaner.borderStyle(), 1);
    moveOverBackground();
    EXPECT_EQ(w.imgCcleaner.borderStyle(), 0);
    EXPECT_EQ(w.imgMbam.borderStyle(), 0);
}

TEST_F(ToolsWindow, EveryReleaseOfAnyButtonStartsTheToolOnce) {
    os.files.files[store::kCleanerPath] = "";
    os.files.files[store::kScannerPath] = "";
    release(tools().imgCcleaner, ui::kLeftButton);
    release(tools().imgCcleaner, ui::kRightButton);
    release(tools().imgMbam, ui::kMiddleButton);
    ASSERT_EQ(os.processes.programs.size(), 3u);
    EXPECT_EQ(os.processes.programs[0].commandLine, store::kCleanerPath);
    EXPECT_EQ(os.processes.programs[1].commandLine, store::kCleanerPath);
    EXPECT_EQ(os.processes.programs[2].commandLine, store::kScannerPath);
    EXPECT_EQ(os.processes.programs[0].mode, platform::WindowMode::Normal);
    EXPECT_TRUE(tools().loaded());
    EXPECT_TRUE(host.msgBoxes.empty());
}

TEST_F(ToolsWindow, AMissingToolIsNamedWithWhereItWasLookedFor) {
    release(tools().imgMbam, ui::kLeftButton);
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    const std::string& text = host.msgBoxes[0].text;
    EXPECT_NE(text.find(store::kScannerCaption), std::string::npos) << text;
    EXPECT_NE(text.find(store::kScannerPath), std::string::npos) << text;
    EXPECT_EQ(host.msgBoxes[0].title, "TAVDashboard");
    EXPECT_TRUE(tools().loaded());
    EXPECT_TRUE(dash().tmrGetCPU.enabled());
}

TEST_F(ToolsWindow, TheLinkOpensTheBlueScreenViewPage) {
    host.click(tools().lblDLBlueScreenView);
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    EXPECT_EQ(os.launcher.requests[0].file, store::kBlueScreenViewUrl);
}

// The dashboard's action buttons, as the tray menu calls them while the dashboard is hidden.
class DashboardActions : public fakes::DashboardTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(startUp());
        dash().cmdExit_Click();
        host.log.clear();
    }
    size_t at(const std::string& entry) const {
        return static_cast<size_t>(std::find(host.log.begin(), host.log.end(), entry) - host.log.begin());
    }
    std::string remoteSupport() const {
        return os.files.folder + "\\PROGRAMS\\" + store::kRemoteSupportName;
    }
};

TEST_F(DashboardActions, TrayItemsShowTheDashboardThenTheirWindow) {
    struct Case {
        ui::Menu app::frmSysTray::*item;
        const char* window;
    };
    for (const Case& c : {Case{&app::frmSysTray::mnuLaunchTools, "frmTools"}, Case{&app::frmSysTray::mnuContact, "frmEmail"}}) {
        dash().cmdExit_Click();
        host.log.clear();
        host.click(dash().*c.item);
        EXPECT_TRUE(dash().visible()) << c.window;
        EXPECT_EQ(dash().windowState(), ui::WindowState::Normal);
        EXPECT_LT(at("show frmSysTray"), at(std::string("show ") + c.window)) << c.window;
        ASSERT_NE(at(std::string("show ") + c.window), host.log.size()) << c.window;
    }
    // An open window is only brought forward: it is not loaded again.
    mEmail::frmEmail& open = ui::app().form<mEmail::frmEmail>();
    open.txtName.userSet("typed");
    dash().cmdContactUs_Click();
    EXPECT_EQ(&ui::app().form<mEmail::frmEmail>(), &open);
    EXPECT_EQ(open.txtName.text(), "typed");
}

TEST_F(DashboardActions, ConnectToTechAnsweredYesStartsTheRemoteSupportProgram) {
    host.msgBoxAnswers = {ui::MsgBoxResult::Yes};
    host.click(dash().mnuConnect);
    EXPECT_TRUE(dash().visible());
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    EXPECT_EQ(host.msgBoxes[0].text, "You must contact us before requesting remote assistance.  Have you already done so?");
    EXPECT_EQ(host.msgBoxes[0].buttons, ui::MsgBoxButtons::YesNo);
    EXPECT_EQ(host.msgBoxes[0].icon, ui::MsgBoxIcon::None);
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    const platform::ShellRequest& r = os.launcher.requests[0];
    EXPECT_EQ(r.file, remoteSupport());  // one file name, spaces and all
    EXPECT_EQ(r.verb, "open");
    EXPECT_EQ(r.showMode, 1);
    EXPECT_EQ(r.owner, 0u);
    EXPECT_FALSE(ui::app().isLoaded<mEmail::frmEmail>());
}

TEST_F(DashboardActions, InstalledProgramStartsTheRemoteSupportProgramFromTheSupportFolder) {
    os.files.installed = true;
    os.files.support = "C:\\Users\\client\\data";
    host.msgBoxAnswers = {ui::MsgBoxResult::Yes};
    dash().cmdConnectTech_Click();
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    EXPECT_EQ(os.launcher.requests[0].file, os.files.support + "\\PROGRAMS\\" + store::kRemoteSupportName);
}

TEST_F(DashboardActions, ConnectToTechAnsweredNoOpensTheContactWindow) {
    host.msgBoxAnswers = {ui::MsgBoxResult::No};
    dash().cmdConnectTech_Click();
    EXPECT_TRUE(os.launcher.requests.empty());
    EXPECT_TRUE(ui::app().isLoaded<mEmail::frmEmail>());
    EXPECT_TRUE(ui::app().form<mEmail::frmEmail>().visible());
    EXPECT_TRUE(dash().visible());
}

TEST_F(DashboardActions, AMissingRemoteSupportProgramIsReported) {
    for (int32_t result : {2, 3, 11}) {
        host.msgBoxes.clear();
        host.msgBoxAnswers = {ui::MsgBoxResult::Yes};
        os.launcher.result = result;
        dash().cmdConnectTech_Click();
        ASSERT_EQ(host.msgBoxes.size(), 2u) << result;
        const std::string& text = host.msgBoxes[1].text;
        EXPECT_NE(text.find(remoteSupport()), std::string::npos) << text;
        EXPECT_NE(text.find(store::kPhone), std::string::npos) << text;
        EXPECT_EQ(text.find("missing") != std::string::npos, result != 11) << text;
    }
}

}  // namespace
