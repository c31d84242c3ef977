// The "Contact Us" window: the store's contact details, and a form whose Send mails a tech
// request with the dashboard's summary to the store.
#pragma once
#include <string>
#include <vector>

#include "ui/form.h"

namespace mEmail {

class frmEmail : public ui::Form {
public:
    static constexpr const char* kName = "frmEmail";
    frmEmail();

    ui::TextBox txtName, txtPhone, txtEmail, txtMsg;
    ui::Button cmdSend;
    ui::Label Label1, Label2, Label12, Label11, Label5, Label3;
    ui::Label Label7, Label6, Label8, Label9, lblWWW;
    ui::Line Line1;

    void cmdSend_Click();
    void lblWWW_Click();
};

// The lines that every request to the store starts with: the client's name and phone, the
// client's text, and the dashboard's summary as it shows now, with empty lines between them.
// The texts stand as they are, line breaks and all.
std::vector<std::string> RequestLines(const std::string& name, const std::string& phone, const std::string& text);

// Lines joined into a mail body, each followed by CR LF.
std::string BodyOf(const std::vector<std::string>& lines);

// The address check of the contact and appointment windows: an "@" and a "." anywhere, and
// nothing that could break a mail header.
bool LooksLikeEmail(const std::string& address);

}  // namespace mEmail
