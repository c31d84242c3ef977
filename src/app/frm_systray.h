// The dashboard window: the program's start-up object and main window.
#pragma once
#include "ui/form.h"
#include "ui/timer_menu.h"

namespace app {

class frmSysTray : public ui::Form {
public:
    static constexpr const char* kName = "frmSysTray";
    frmSysTray();

    // Header band
    ui::Line Line1;
    ui::Shape Shape2;
    ui::Image Image1;
    ui::Label lblHeader;
    ui::Image imgPref;
    ui::Shape Shape1;
    ui::Label lblTime;
    ui::Label lblDate;
    // Action buttons
    ui::Button cmdContactUs;
    ui::Button cmdConnectTech;
    ui::Button cmdLaunchTools;
    ui::Button cmdAppt;
    ui::Button cmdExit;
    // Check-up visits
    ui::Frame Frame2;
    ui::Label Label3, lblLastStoreVisit;
    ui::Label Label8, lblNextStoreVisit;
    ui::ProgressBar pbLastStoreVisit;
    // Hardware summary
    ui::Frame Frame1;
    ui::Label Label7, lblOS;
    ui::Label Label4, lblCPU;
    ui::Label Label5, lblMemory;
    ui::Label Label6;
    ui::TextBox lblHDD;
    // CPU chart and bottom row
    ui::Line Line2;
    ui::Chart chartCPU;
    ui::Label lblCPUAvg;
    ui::Label lblSysUptime;
    ui::Label lblUsage;
    // Timers
    ui::Timer tmrDateTime;
    ui::Timer tmrGetCPU;
    ui::Timer tmrVisit;
    // The tray pop-up menu
    ui::Menu Menu;
    ui::Menu mnuShowDash, sep, mnuContact, mnuConnect, mnuLaunchTools, mnuScheduleAppt, sep2, mnuExit;

    int16_t iMin = 0;  // visit timer ticks since the last timer-driven visit check

    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Unload(int16_t& cancel) override;
    void Form_Resize() override;

    void cmdExit_Click();
    void cmdAppt_Click();
    void cmdLaunchTools_Click();
    void cmdContactUs_Click();
    void cmdConnectTech_Click();
    void imgPref_DblClick();
    void lblHeader_MouseDown(int16_t button, int16_t shift, float x, float y);
    void lblHeader_MouseMove(int16_t button, int16_t shift, float x, float y);
    void lblHeader_MouseUp(int16_t button, int16_t shift, float x, float y);
    void tmrDateTime_Timer();
    void tmrGetCPU_Timer();
    void tmrVisit_Timer();
    void mnuShowDash_Click();
    void mnuContact_Click();
    void mnuConnect_Click();
    void mnuLaunchTools_Click();
    void mnuScheduleAppt_Click();
    void mnuExit_Click();
};

// The dashboard of the running program.
frmSysTray& Dashboard();

}  // namespace app
