// A fresh program for each test: FakeHost, fake platform, program-wide state at zero.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "app/frm_systray.h"
#include "support/fake_host.h"
#include "support/fake_platform.h"
#include "ui/application.h"

namespace fakes {

class DashboardTest : public ::testing::Test {
protected:
    DashboardTest();
    ~DashboardTest() override;

    // The path of settings.ini in the fake program folder.
    std::string settingsPath() const { return os.files.folder + "\\settings.ini"; }
    // Runs the start-up sequence; false when it ended the process.
    bool startUp();
    app::frmSysTray& dash() { return app::Dashboard(); }

    FakeHost host;
    FakePlatform os;
    std::unique_ptr<ui::Application> application;
};

}  // namespace fakes
