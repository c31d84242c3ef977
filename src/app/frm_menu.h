// The hidden window that owns the tray icon and receives its mouse messages.
#pragma once
#include "ui/form.h"

namespace app {

class frmMenu : public ui::Form {
public:
    static constexpr const char* kName = "frmMenu";
    frmMenu();

    // The tray icon's callback arrives as a mouse move whose x coordinate carries the
    // mouse message code in pixels.
    void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;
    void Form_MouseUp(int16_t button, int16_t shift, float x, float y) override;
};

// Tray icon mouse message codes.
inline constexpr int32_t WM_LBUTTONUP = 0x202;
inline constexpr int32_t WM_LBUTTONDBLCLK = 0x203;
inline constexpr int32_t WM_RBUTTONUP = 0x205;

// The mouse message code carried by the x coordinate of a tray callback, in twips.
int32_t TrayMessageCode(float x, float twipsPerPixel);

}  // namespace app
