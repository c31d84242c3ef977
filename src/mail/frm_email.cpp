#include "mail/frm_email.h"

#include "app/frm_systray.h"
#include "app/global_state.h"
#include "mail/launcher.h"
#include "mail/mail_message.h"
#include "mail/send_email.h"
#include "store_config.h"
#include "ui/msgbox.h"

namespace mEmail {

using ui::Rect;

namespace {
const ui::Color kLinkColor{40, 50, 168};
}

frmEmail::frmEmail()
    : ui::Form(kName),
      txtName(*this, "txtName", Rect{4605, 1050, 3015, 330}, "", false),
      txtPhone(*this, "txtPhone", Rect{4605, 1560, 3015, 330}, "", false),
      txtEmail(*this, "txtEmail", Rect{4605, 2040, 3015, 330}, "", false),
      txtMsg(*this, "txtMsg", Rect{3960, 2940, 5715, 1935}, "", true),
      cmdSend(*this, "cmdSend", Rect{6270, 5040, 1185, 405}, "Send"),
      Label1(*this, "Label1", Rect{3960, 1140, 510, 225}, "Name:"),
      Label2(*this, "Label2", Rect{3915, 1620, 555, 225}, "Phone:"),
      Label12(*this, "Label12", Rect{3960, 2100, 510, 225}, "Email:"),
      Label11(*this, "Label11", Rect{3960, 2670, 2235, 225}, "Please describe your issue:"),
      Label5(*this, "Label5", Rect{3690, 150, 6030, 495}, "Email"),
      Label3(*this, "Label3", Rect{270, 150, 2910, 495}, "Phone / Online"),
      Label7(*this, "Label7", Rect{600, 1920, 1830, 345}, store::kPhone),
      Label6(*this, "Label6", Rect{690, 3120, 1815, 225}, store::kLegalName),
      Label8(*this, "Label8", Rect{690, 3420, 1485, 225}, store::kStreet),
      Label9(*this, "Label9", Rect{690, 3720, 1515, 225}, store::kTownLine),
      lblWWW(*this, "lblWWW", Rect{270, 4170, 2640, 285}, store::kWebHost),
      Line1(*this, "Line1", 3450, 720, 3450, 5010) {
    setCaption("Contact Us");
    clientWidth = 9975;
    clientHeight = 5580;
    font = ui::Font{"Calibri", 9.75f, false};
    icon = "tav.png";
    picture = "contact.png";
    stretchPicture = false;

    int tab = 0;
    for (ui::Control* c : std::initializer_list<ui::Control*>{&txtName, &txtPhone, &txtEmail, &txtMsg, &cmdSend}) {
        c->tabIndex = tab++;
    }
    for (ui::Label* l : {&Label1, &Label2, &Label12}) l->alignment = ui::Alignment::Right;
    for (ui::Label* l : {&Label5, &Label3}) {
        l->alignment = ui::Alignment::Center;
        l->font.size = 20.25f;
    }
    Label7.font = ui::Font{"Calibri", 14.25f, true};
    lblWWW.font = ui::Font{"Calibri", 12, false, true};
    lblWWW.foreColor = kLinkColor;
    lblWWW.mousePointer = ui::MousePointer::Hand;

    cmdSend.Click = [this] { cmdSend_Click(); };
    lblWWW.Click = [this] { lblWWW_Click(); };
}

bool LooksLikeEmail(const std::string& address) {
    return address.find('@') != std::string::npos && address.find('.') != std::string::npos &&
           IsSafeAddress(address);
}

std::vector<std::string> RequestLines(const std::string& name, const std::string& phone, const std::string& text) {
    app::frmSysTray& dash = app::Dashboard();
    return {name, phone, "", text, "", dash.lblOS.caption(), "", dash.lblCPU.caption(), "", dash.lblMemory.caption(), "",
            dash.lblHDD.text(), "", dash.lblCPUAvg.caption(), "", dash.lblSysUptime.caption(), ""};
}

std::string BodyOf(const std::vector<std::string>& lines) {
    std::string body;
    for (const std::string& line : lines) body += line + "\r\n";
    return body;
}

void frmEmail::cmdSend_Click() {
    const bool complete = !txtName.text().empty() && !txtPhone.text().empty() && !txtEmail.text().empty();
    if (complete && !LooksLikeEmail(txtEmail.text())) ui::MsgBox("Invalid Email!");
    if (!complete || !LooksLikeEmail(txtEmail.text())) {
        ui::MsgBox("Please make sure to complete form before pressing Send.");
        return;
    }

    cmdSend.setEnabled(false);
    modGlobal::EmailSent = modGlobal::kTrue;
    std::vector<std::string> lines = RequestLines(txtName.text(), txtPhone.text(), txtMsg.text());
    lines.push_back("PLEASE CONTACT CUSTOMER VIA EMAIL OR PHONE");
    const std::string body = BodyOf(lines);
    const platform::MailOutcome outcome = SendEmail("Tech request from TAV Dashboard", body, txtEmail.text());
    cmdSend.setEnabled(true);

    if (outcome != platform::MailOutcome::Sent && outcome != platform::MailOutcome::SenderRejected) {
        // Not sent: the window stays open with everything typed, so the client can try again.
        ui::MsgBox(NotSentMessage(outcome));
    } else if (modGlobal::EmailSent != modGlobal::kFalse) {
        ui::MsgBox(SentMessage());
        Unload();
    }
    modGlobal::EmailSent = modGlobal::kTrue;
}

void frmEmail::lblWWW_Click() { mShellExecute::OpenWebPage(store::kHomePageUrl); }

}  // namespace mEmail
