// The "Preferences" window: the start-up switches, the last visit and the reminder, stored in
// settings.ini by OK.
#pragma once
#include <array>

#include "ui/form.h"

namespace visits {

class frmPref : public ui::Form {
public:
    static constexpr const char* kName = "frmPref";
    frmPref();

    ui::CheckBox chkStartWithWindows, chkMinOnStartup;
    std::array<ui::Label, 3> Label1;
    ui::TextBox txtRemindMeDays;
    ui::DatePicker dtRemindMeIn, dtLastVisit;
    ui::Label Label2;
    ui::DatePicker dtNextVisit;
    ui::Button cmdCancel, cmdOK;

    void Form_Load() override;
    void dtLastVisit_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
};

// What a check box shows for a start-up switch: 0 and 1 as they are, 2 greyed, anything else
// (a hand-edited file) unchecked.
int16_t CheckBoxValueOf(int16_t setting);

}  // namespace visits
