// The hidden inventory window: its text fields hold the hardware summary that the dashboard
// shows and every mail to the store quotes.
#pragma once
#include <array>
#include <string>

#include "ui/form.h"

namespace inventory {

class frmSysInfo : public ui::Form {
public:
    static constexpr const char* kName = "frmSysInfo";
    frmSysInfo();

    ui::TextBox text2;  // operating system
    ui::TextBox text3;  // processors
    ui::TextBox text4;  // memory
    ui::TextBox text5;  // drives, several lines
    ui::TextBox Text7;  // network adapters counted so far
    ui::TextBox Text8;  // the last capacity or size read
    std::array<ui::Label, 4> lblLabels;
    ui::Button Command1;

    // Fills the four summary texts from the management service and the drive calls.
    void GetAllData();
    void Command1_Click();
    // One network adapter reported by the asynchronous query.
    void sink_OnObjectReady();
};

// One line of the drives text for a root path ("C:\"), or the empty text for a letter with
// no usable volume. Throws when the arithmetic overflows.
std::string DriveLine(const std::string& RootPath);

// The text up to its first NUL within the first 255 characters; Text is cut the same way.
std::string TrimAtNull(std::string& Text);

// The dashboard's four summary texts, collected once at start-up.
void CollectIntoDashboard();

}  // namespace inventory
