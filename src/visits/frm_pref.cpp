#include "visits/frm_pref.h"

#include "app/global_state.h"
#include "platform/services.h"
#include "ui/msgbox.h"
#include "visits/settings_file.h"
#include "visits/visit_schedule.h"

namespace visits {

using ui::Rect;

int16_t CheckBoxValueOf(int16_t setting) { return setting >= 0 && setting <= 2 ? setting : 0; }

frmPref::frmPref()
    : ui::Form(kName),
      chkStartWithWindows(*this, "chkStartWithWindows", Rect{240, 240, 2205, 315}, "Start with Windows."),
      chkMinOnStartup(*this, "chkMinOnStartup", Rect{240, 630, 2205, 315}, "Minimize on startup."),
      Label1{{{*this, "Label1(0)", Rect{240, 1890, 1245, 255}, "Last Visit:"},
              {*this, "Label1(1)", Rect{240, 1080, 1785, 255}, "Remind me in (days): "},
              {*this, "Label1(2)", Rect{240, 1470, 1725, 255}, "Remind me date:"}}},
      txtRemindMeDays(*this, "txtRemindMeDays", Rect{2100, 1050, 675, 330}, "0", false),
      dtRemindMeIn(*this, "dtRemindMeIn", Rect{2100, 1470, 1485, 345}),
      dtLastVisit(*this, "dtLastVisit", Rect{240, 2190, 1485, 345}),
      Label2(*this, "Label2", Rect{2100, 1890, 1245, 255}, "Next Visit:"),
      dtNextVisit(*this, "dtNextVisit", Rect{2100, 2190, 1485, 345}),
      cmdCancel(*this, "cmdCancel", Rect{900, 2820, 1245, 405}, "Cancel"),
      cmdOK(*this, "cmdOK", Rect{2340, 2820, 1245, 405}, "OK") {
    setCaption("Preferences");
    clientWidth = 3870;
    clientHeight = 3525;
    icon = "tav.png";
    txtRemindMeDays.alignment = ui::Alignment::Center;
    cmdOK.isDefault = true;
    cmdCancel.isCancel = true;

    const std::pair<ui::Control*, int> tabs[] = {{&chkStartWithWindows, 0}, {&chkMinOnStartup, 1}, {&cmdOK, 2},
                                                 {&cmdCancel, 3},           {&dtLastVisit, 4},     {&dtNextVisit, 6},
                                                 {&txtRemindMeDays, 8},     {&dtRemindMeIn, 11}};
    for (const auto& [c, index] : tabs) c->tabIndex = index;

    dtLastVisit.Change = [this] { dtLastVisit_Change(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmPref::Form_Load() {
    using namespace modGlobal;
    chkStartWithWindows.setValue(CheckBoxValueOf(iStartWithWindows));
    chkMinOnStartup.setValue(CheckBoxValueOf(iMinimizeOnStartup));
    txtRemindMeDays.setText(std::to_string(iRemindMeIn));
    dtLastVisit.setValue(dLastStoreVisit);
    dtNextVisit.setValue(dLastStoreVisit + kVisitCycleDays);
    dtRemindMeIn.setValue(dRemindMeDate);
    Show();
}

void frmPref::dtLastVisit_Change() { dtNextVisit.setValue(dtLastVisit.value() + kVisitCycleDays); }

void frmPref::cmdOK_Click() {
    using namespace modGlobal;
    // The days are checked before anything changes: a text that is no number stores nothing.
    const std::optional<int16_t> days = modINI::ParseSettingNumber(txtRemindMeDays.text());
    if (!days) {
        ui::MsgBox("\"Remind me in (days)\" must be a whole number of days from -32768 to 32767.\n\n"
                   "Please correct it and press OK again.");
        return;
    }
    iStartWithWindows = chkStartWithWindows.value();
    iMinimizeOnStartup = chkMinOnStartup.value();
    iRemindMeIn = *days;
    dLastStoreVisit = dtLastVisit.value();
    dRemindMeDate = dtRemindMeIn.value();
    if (!modINI::SaveSettings()) {
        ui::MsgBox(modINI::NotSavedMessage());
        return;
    }
    ui::MsgBox("Settings Saved.");
    Unload();
}

void frmPref::cmdCancel_Click() {
    Unload();
    ui::MsgBox("Settings NOT Changed.");
}

}  // namespace visits
