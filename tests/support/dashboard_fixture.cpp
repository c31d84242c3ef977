#include "support/dashboard_fixture.h"

#include "app/global_state.h"

namespace fakes {

DashboardTest::DashboardTest() : application(std::make_unique<ui::Application>(host)) {
    ui::setApp(application.get());
    modGlobal::Reset();
}

DashboardTest::~DashboardTest() {
    application.reset();
    modGlobal::Reset();
}

bool DashboardTest::startUp() {
    try {
        app::Dashboard().Load();
        return true;
    } catch (const ProcessEnded&) {
        return false;
    }
}

}  // namespace fakes
