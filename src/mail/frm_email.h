// The "Contact Us" window: the store's contact details, and a form whose Send mails a tech
// request with the dashboard's summary to the store.
#pragma once
#include <string>

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

// The body of a tech request: the form's fields and the dashboard's summary, each part
// followed by CR LF, exactly as they stand.
std::string TechRequestBody(const std::string& name, const std::string& phone, const std::string& description);

// The address check of the contact and appointment windows: an "@" and a "." anywhere, and
// nothing that could break a mail header.
bool LooksLikeEmail(const std::string& address);

}  // namespace mEmail
