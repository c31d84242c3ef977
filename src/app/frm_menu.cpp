#include "app/frm_menu.h"

#include <cmath>

#include "app/frm_systray.h"
#include "ui/host.h"

namespace app {

frmMenu::frmMenu() : ui::Form(kName) {
    setCaption("frmMenu");
    clientWidth = 1500;
    clientHeight = 600;
}

int32_t TrayMessageCode(float x, float twipsPerPixel) {
    // Rounded half to even, as a conversion to a 32-bit integer rounds.
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(x) / twipsPerPixel));
}

void frmMenu::Form_MouseMove(int16_t, int16_t, float x, float) {
    frmSysTray& dash = Dashboard();
    switch (TrayMessageCode(x, host().twipsPerPixelX())) {
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            dash.setWindowState(ui::WindowState::Normal);
            host().setForeground(dash);
            dash.Show();
            break;
        case WM_RBUTTONUP:
            host().setForeground(dash);
            host().popupMenu(dash.Menu, *this);
            break;
        default:
            break;
    }
}

void frmMenu::Form_MouseUp(int16_t button, int16_t, float, float) {
    if (button == ui::kRightButton) host().popupMenu(Dashboard().Menu, *this);
}

}  // namespace app
