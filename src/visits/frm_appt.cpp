#include "visits/frm_appt.h"

#include "app/frm_systray.h"
#include "app/global_state.h"
#include "mail/frm_email.h"
#include "mail/launcher.h"
#include "mail/send_email.h"
#include "platform/services.h"
#include "store_config.h"
#include "ui/msgbox.h"
#include "visits/settings_file.h"

namespace visits {

using ui::Rect;

namespace {

const ui::Font kHeading{"Calibri", 18, false};
const char* const kIncomplete = "Please make sure to complete form before pressing Send.";
const char* const kOpenTime = "9am-6pm";
const char* const kClosed = "(Closed)";

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

platform::Date AddMonths(platform::Date d, int months) {
    int y, m, day;
    d.toYmd(y, m, day);
    const int index = (y * 12 + (m - 1)) + months;
    y = index / 12;
    m = index % 12 + 1;
    return platform::Date::fromYmd(y, m, std::min(day, DaysInMonth(y, m)));
}

Reminder ReminderFor(int option, platform::Date today) {
    switch (option) {
        case 1: return {today + 1, 1};
        case 2: return {today + 7, 7};
        case 3: return {AddMonths(today, 1), 30};
        default: return {AddMonths(today, 6), 182};
    }
}

// The zero date, 30 December 1899, was a Saturday: the weekday number, not its name in the
// user's language, decides.
bool IsSunday(platform::Date d) { return ((d.serial % 7) + 7) % 7 == 1; }

frmAppt::frmAppt()
    : ui::Form(kName),
      Label19(*this, "Label19", Rect{2160, 330, 2970, 435}, "Time for a Check-Up"),
      Label10(*this, "Label10", Rect{990, 960, 930, 225}, "Last Visit: "),
      lblLastStoreVisit(*this, "lblLastStoreVisit", Rect{1995, 960, 915, 225}, "5/31/1977"),
      Label20(*this, "Label20", Rect{4275, 960, 930, 225}, "Next Visit: "),
      lblNextStoreVisit(*this, "lblNextStoreVisit", Rect{5280, 960, 915, 225}, "5/31/1977"),
      Label16(*this, "Label16", Rect{270, 1410, 6675, 855},
              std::string("  ") + store::kName + " recommends a computer check-up every 6 months to ensure everything continues to run smooth.  "
              "We also run our tools on your system to make sure their are no malicious programs running and keep you "
              "virus free."),
      Label17(*this, "Label17", Rect{270, 2145, 6675, 735},
              "  According to our records, you are now due for your next check-up.  Please select one of the options "
              "provided and one of our techs will get back to you with confirmation."),
      Label3(*this, "Label3", Rect{840, 2970, 1440, 435}, "Store Info"),
      Label7(*this, "Label7", Rect{720, 3630, 1830, 345}, store::kPhone),
      Label6(*this, "Label6", Rect{750, 4140, 1815, 225}, store::kLegalName),
      Label8(*this, "Label8", Rect{750, 4440, 1485, 225}, store::kStreet),
      Label9(*this, "Label9", Rect{750, 4740, 1515, 225}, store::kTownLine),
      lblWWW(*this, "lblWWW", Rect{300, 5160, 2580, 270}, store::kWebHost),
      Label13(*this, "Label13", Rect{4020, 2970, 1710, 435}, "Remind Me"),
      Picture1(*this, "Picture1", Rect{3570, 3360, 3465, 2055}, ""),
      optRemindMe{{{*this, "optRemindMe(0)", Rect{450, 240, 2415, 315}, "Setup Appt Now", &Picture1},
                   {*this, "optRemindMe(1)", Rect{450, 600, 2415, 315}, "Tomorrow", &Picture1},
                   {*this, "optRemindMe(2)", Rect{450, 960, 2415, 315}, "Next Week", &Picture1},
                   {*this, "optRemindMe(3)", Rect{450, 1320, 2415, 315}, "Next Month", &Picture1},
                   {*this, "optRemindMe(4)", Rect{450, 1680, 2415, 315}, "In Another Six Months", &Picture1}}},
      cmdRemind(*this, "cmdRemind", Rect{4020, 5640, 2085, 405}, "Set Reminder"),
      Label5(*this, "Label5", Rect{9765, 330, 2910, 435}, "Setup Appointment"),
      Label1(*this, "Label1", Rect{7680, 1320, 510, 225}, "Name:"),
      Label2(*this, "Label2", Rect{7635, 1800, 555, 225}, "Phone:"),
      Label12(*this, "Label12", Rect{7680, 2310, 510, 225}, "Email:"),
      Label11(*this, "Label11", Rect{11850, 1200, 1950, 225}, "Additional Information:"),
      txtName(*this, "txtName", Rect{8310, 1230, 3255, 330}, "", false),
      txtPhone(*this, "txtPhone", Rect{8325, 1740, 3255, 330}, "", false),
      txtEmail(*this, "txtEmail", Rect{8325, 2250, 3255, 330}, "", false),
      txtMsg(*this, "txtMsg", Rect{11820, 1530, 3000, 3915}, "", true),
      Label4(*this, "Label4", Rect{7710, 2820, 3795, 495},
             "  Please choose an appointment date and time that works best for your schedule."),
      Label14(*this, "Label14", Rect{7710, 3540, 420, 225}, "Date:"),
      dtAppt(*this, "dtAppt", Rect{8280, 3450, 1455, 345}),
      Label15(*this, "Label15", Rect{9885, 3510, 435, 225}, "Time:"),
      txtApptTime(*this, "txtApptTime", Rect{10455, 3450, 1005, 330}, kOpenTime, false),
      Label18(*this, "Label18", Rect{7710, 3990, 4005, 765},
              "  If you perfer, we can connect to your computer remotely to give you an initial check-up status "
              "before bringing in."),
      Picture2(*this, "Picture2", Rect{7530, 4710, 4125, 825}, ""),
      optRemote{{{*this, "optRemote(0)", Rect{180, 60, 3495, 345}, "Remote Assistance", &Picture2},
                 {*this, "optRemote(1)", Rect{180, 390, 3495, 345}, "Bringing Computer to Store", &Picture2}}},
      cmdSend(*this, "cmdSend", Rect{13620, 5640, 1185, 405}, "Send"),
      Line1(*this, "Line1", 3180, 2880, 3180, 5800),
      Line2(*this, "Line2", 7320, 870, 7320, 5800) {
    setCaption("Setup Appointment");
    clientWidth = 15135;
    clientHeight = 6225;
    icon = "tav.png";
    picture = "appointment.png";

    for (ui::Label* l : {&Label19, &Label3, &Label13, &Label5}) l->font = kHeading;
    Label19.alignment = Label5.alignment = ui::Alignment::Center;
    for (ui::Label* l : {&Label10, &Label20, &Label1, &Label2, &Label12, &Label14, &Label15}) {
        l->alignment = ui::Alignment::Right;
    }
    lblLastStoreVisit.font.bold = lblNextStoreVisit.font.bold = true;
    Label7.font = ui::Font{"Calibri", 14.25f, true};
    lblWWW.font = ui::Font{"Calibri", 11.25f, false, true};
    lblWWW.foreColor = ui::Color{40, 50, 168};
    lblWWW.mousePointer = ui::MousePointer::Hand;
    Picture1.border = Picture2.border = false;
    optRemindMe[0].setValue(true);
    cmdRemind.setEnabled(false);

    // Tab order as designed; labels and containers take no focus.
    const std::pair<ui::Control*, int> tabs[] = {
        {&txtName, 0}, {&txtPhone, 1}, {&txtEmail, 2}, {&dtAppt, 3}, {&txtApptTime, 4}, {&optRemote[0], 5},
        {&optRemote[1], 6}, {&txtMsg, 7}, {&cmdSend, 8}, {&cmdRemind, 28}, {&optRemindMe[0], 30},
        {&optRemindMe[4], 31}, {&optRemindMe[3], 32}, {&optRemindMe[2], 33}, {&optRemindMe[1], 34}};
    for (const auto& [c, index] : tabs) c->tabIndex = index;

    for (int16_t i = 0; i < static_cast<int16_t>(optRemindMe.size()); ++i) {
        optRemindMe[static_cast<size_t>(i)].Click = [this, i] { optRemindMe_Click(i); };
    }
    for (int16_t i = 0; i < static_cast<int16_t>(optRemote.size()); ++i) {
        optRemote[static_cast<size_t>(i)].Click = [this, i] { optRemote_Click(i); };
    }
    dtAppt.Change = [this] { dtAppt_Change(); };
    cmdRemind.Click = [this] { cmdRemind_Click(); };
    cmdSend.Click = [this] { cmdSend_Click(); };
    lblWWW.Click = [this] { lblWWW_Click(); };
}

void frmAppt::Form_Load() {
    dtAppt.setValue(platform::today());
    // Opened on a Sunday, the initial date says the store is closed as a picked one does.
    dtAppt_Change();
    app::frmSysTray& dash = app::Dashboard();
    lblLastStoreVisit.setCaption(dash.lblLastStoreVisit.caption());
    lblNextStoreVisit.setCaption(dash.lblNextStoreVisit.caption());
}

void frmAppt::optRemindMe_Click(int16_t Index) {
    cmdRemind.setEnabled(Index != 0);
    cmdSend.setEnabled(Index == 0);
}

void frmAppt::optRemote_Click(int16_t Index) { sRemote = Index == 0 ? "Yes" : "No"; }

void frmAppt::dtAppt_Change() { txtApptTime.setText(IsSunday(dtAppt.value()) ? kClosed : kOpenTime); }

void frmAppt::cmdRemind_Click() {
    int option = 0;
    for (size_t i = 0; i < optRemindMe.size(); ++i) {
        if (optRemindMe[i].value()) option = static_cast<int>(i);
    }
    if (option == 0) {
        ui::MsgBox("Please fill out form on right side and click Send.");
        return;
    }
    const Reminder r = ReminderFor(option, platform::today());
    modGlobal::dRemindMeDate = r.date;
    modGlobal::iRemindMeIn = r.days;
    if (!modINI::SaveSettings()) {
        // The reminder holds for this run, but the next start would not know it: say so.
        ui::MsgBox(modINI::NotSavedMessage());
        return;
    }
    ui::MsgBox("A reminder has been set, thank you.");
    app::frmSysTray& dash = app::Dashboard();
    dash.setWindowState(ui::WindowState::Normal);
    dash.Show();
    Unload();
}

void frmAppt::cmdSend_Click() {
    const bool complete = !txtName.text().empty() && !txtPhone.text().empty() && !txtEmail.text().empty();
    if (!complete) {
        ui::MsgBox(kIncomplete);
        return;
    }
    if (!mEmail::LooksLikeEmail(txtEmail.text())) {
        ui::MsgBox("Invalid Email!");
        ui::MsgBox(kIncomplete);
        return;
    }
    if (IsSunday(dtAppt.value())) {
        ui::MsgBox("Sorry, we are closed on Sundays.");
        ui::MsgBox(kIncomplete);
        return;
    }
    if (txtApptTime.text().empty() || (!optRemote[0].value() && !optRemote[1].value())) {
        ui::MsgBox(kIncomplete);
        return;
    }

    cmdSend.setEnabled(false);
    std::vector<std::string> lines = mEmail::RequestLines(txtName.text(), txtPhone.text(), txtMsg.text());
    lines.insert(lines.end(), {"Preferred Check-up Date: " + platform::shortDateText(dtAppt.value()),
                               "Preferred Check-up Time: " + txtApptTime.text(),
                               "Customer would like us to remote in first for initial status?: " + sRemote, "",
                               "PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE TO VERIFY APPOINTMENT DATE/TIME"});
    const platform::MailOutcome outcome =
        mEmail::SendEmail("Check-up Appointment from TAV Dashboard", mEmail::BodyOf(lines), txtEmail.text());
    cmdSend.setEnabled(true);
    if (outcome == platform::MailOutcome::SenderRejected) return;  // its message is shown; the window stays
    if (outcome != platform::MailOutcome::Sent) {
        // Not sent: the request stays in the window, ready to be sent again.
        ui::MsgBox(mEmail::NotSentMessage(outcome));
        return;
    }
    ui::MsgBox(mEmail::SentMessage());
    Unload();
}

void frmAppt::lblWWW_Click() { mShellExecute::OpenWebPage(store::kHomePageUrl); }

}  // namespace visits
