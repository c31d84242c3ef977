// The "Setup Appointment" window: a check-up is due; the client requests an appointment by
// mail or sets a reminder for later.
#pragma once
#include <array>
#include <string>

#include "platform/date.h"
#include "ui/form.h"

namespace visits {

class frmAppt : public ui::Form {
public:
    static constexpr const char* kName = "frmAppt";
    frmAppt();

    // Information area
    ui::Label Label19, Label10, lblLastStoreVisit, Label20, lblNextStoreVisit, Label16, Label17;
    // Store area
    ui::Label Label3, Label7, Label6, Label8, Label9, lblWWW;
    // Reminder area
    ui::Label Label13;
    ui::Frame Picture1;
    std::array<ui::OptionButton, 5> optRemindMe;
    ui::Button cmdRemind;
    // Request area
    ui::Label Label5, Label1, Label2, Label12, Label11;
    ui::TextBox txtName, txtPhone, txtEmail, txtMsg;
    ui::Label Label4, Label14;
    ui::DatePicker dtAppt;
    ui::Label Label15;
    ui::TextBox txtApptTime;
    ui::Label Label18;
    ui::Frame Picture2;
    std::array<ui::OptionButton, 2> optRemote;
    ui::Button cmdSend;
    ui::Line Line1, Line2;

    std::string sRemote;  // "Yes" or "No" once a remote option was picked

    void Form_Load() override;
    void optRemindMe_Click(int16_t Index);
    void optRemote_Click(int16_t Index);
    void dtAppt_Change();
    void dtAppt_CloseUp() {}
    void cmdRemind_Click();
    void cmdSend_Click();
    void lblWWW_Click();
};

// A date some calendar months later: the same day of the month, or the target month's last
// day where that month is shorter.
platform::Date AddMonths(platform::Date d, int months);

// The remind-me date and interval of a reminder option (1 to 4) set today.
struct Reminder {
    platform::Date date;
    int16_t days;
};
Reminder ReminderFor(int option, platform::Date today);

// Whether a date is a Sunday, when the store is closed.
bool IsSunday(platform::Date d);

}  // namespace visits
