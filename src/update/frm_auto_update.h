// The update window: hidden while the program asks the store's server about updates, shown
// with the progress of a download.
#pragma once
#include "ui/form.h"
#include "update/inet.h"

namespace update {

class frmAutoUpdate : public ui::Form {
public:
    static constexpr const char* kName = "frmAutoUpdate";
    frmAutoUpdate();

    ui::Label lblAction;
    ui::Label Label2;
    ui::Label lblFileName;
    ui::Label Label1;
    ui::Label lblSize;
    ui::Button cmdCancel;
    ui::ProgressBar ProgressBar1;
    Inet Inet1;
    // The cancel signal of the download loops: "Cancel" once the button was pressed.
    std::string Tag;

    void Form_Load() override;
    void cmdCancel_Click();
};

}  // namespace update
