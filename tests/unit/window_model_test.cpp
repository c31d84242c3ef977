#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "ui/application.h"
#include "ui/timer_menu.h"

namespace {

// A secondary window that is discarded when it closes.
class frmTest : public ui::Form {
public:
    static constexpr const char* kName = "frmTest";
    frmTest() : ui::Form(kName) {}
    ui::Frame fraA{*this, "fraA", {0, 0, 1000, 1000}, "A"};
    ui::OptionButton opt1{*this, "opt1", {}, "1", &fraA};
    ui::OptionButton opt2{*this, "opt2", {}, "2", &fraA};
    ui::OptionButton opt3{*this, "opt3", {}, "3"};
    ui::Timer tmr{*this, "tmr", 100, false};
    ui::TextBox txt{*this, "txt", {}, "initial", false};
    ui::Chart chart{*this, "chart", {}, 60};
    int loads = 0;
    void Form_Load() override { ++loads; }
};

class WindowModel : public ::testing::Test {
protected:
    WindowModel() { ui::setApp(&application); }
    fakes::FakeHost host;
    ui::Application application{host};
};

TEST_F(WindowModel, EachWindowExistsOnceAndLoadsOnce) {
    frmTest& a = application.form<frmTest>();
    EXPECT_EQ(&a, &application.form<frmTest>());
    a.Show();
    a.Load();
    a.Show();
    EXPECT_EQ(a.loads, 1);
    EXPECT_EQ(host.log, (std::vector<std::string>{"realize frmTest", "show frmTest", "show frmTest"}));
}

TEST_F(WindowModel, UnloadedWindowStartsFromItsInitialState) {
    application.dispatch([&] {
        frmTest& f = application.form<frmTest>();
        f.Show();
        f.txt.setText("typed");
        EXPECT_TRUE(f.Unload());
        // Still alive while the handler that unloaded it runs.
        EXPECT_EQ(f.txt.text(), "typed");
    });
    EXPECT_FALSE(application.isLoaded<frmTest>());
    EXPECT_EQ(application.form<frmTest>().txt.text(), "initial");
}

TEST_F(WindowModel, OptionButtonsAreGroupedByContainer) {
    frmTest& f = application.form<frmTest>();
    f.opt3.setValue(true);
    f.opt1.setValue(true);
    f.opt2.userSelect();
    EXPECT_FALSE(f.opt1.value());
    EXPECT_TRUE(f.opt2.value());
    EXPECT_TRUE(f.opt3.value());
}

TEST_F(WindowModel, DisabledTimerDoesNotTick) {
    frmTest& f = application.form<frmTest>();
    int ticks = 0;
    f.tmr.Tick = [&] { ++ticks; };
    f.tmr.fire();
    f.tmr.setEnabled(true);
    f.tmr.fire();
    EXPECT_EQ(ticks, 1);
}

TEST_F(WindowModel, ChartRowsAreNumberedFromOne) {
    frmTest& f = application.form<frmTest>();
    f.chart.setRow(60);
    f.chart.setData(42.5);
    f.chart.setRow(61);  // out of range: the selection stays
    f.chart.setData(std::nullopt);
    EXPECT_EQ(f.chart.point(60), std::nullopt);
    f.chart.setRow(1);
    f.chart.setData(7);
    EXPECT_EQ(f.chart.point(1), 7);
    EXPECT_EQ(f.chart.point(2), std::nullopt);
}

TEST_F(WindowModel, HandlerErrorsDoNotEscape) {
    bool after = false;
    application.dispatch([] { throw std::runtime_error("broken"); });
    application.dispatch([&] { after = true; });
    EXPECT_TRUE(after);
}

}  // namespace
