// The tools window: starts the two maintenance programs a client may have installed, and
// links to the BlueScreenView download page.
#pragma once
#include <string>

#include "ui/form.h"

namespace app {

class frmTools : public ui::Form {
public:
    static constexpr const char* kName = "frmTools";
    frmTools();

    ui::Image imgCcleaner;
    ui::Label Label1;
    ui::Image imgMbam;
    ui::Label Label2;
    ui::Label lblDLBlueScreenView;

    // Over the window's own background both images lose their hover border.
    void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;
    void imgCcleaner_MouseMove(int16_t button, int16_t shift, float x, float y);
    void imgCcleaner_MouseUp(int16_t button, int16_t shift, float x, float y);
    void imgMbam_MouseMove(int16_t button, int16_t shift, float x, float y);
    void imgMbam_MouseUp(int16_t button, int16_t shift, float x, float y);
    void lblDLBlueScreenView_Click();
};

// Starts a tool's program in a normal window without waiting for it. When it cannot be
// started, a message names the tool and where it was looked for; nothing else happens.
void StartTool(const std::string& caption, const std::string& path);

}  // namespace app
