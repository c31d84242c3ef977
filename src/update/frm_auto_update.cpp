#include "update/frm_auto_update.h"

#include "update/auto_update.h"

namespace update {

using ui::Rect;

frmAutoUpdate::frmAutoUpdate()
    : ui::Form(kName),
      lblAction(*this, "lblAction", Rect{120, 120, 4095, 375}, "Authenticating, please wait..."),
      Label2(*this, "Label2", Rect{120, 480, 825, 240}, "File Name:"),
      lblFileName(*this, "lblFileName", Rect{1200, 480, 1200, 240}, "TAV Dashboard"),
      Label1(*this, "Label1", Rect{120, 720, 720, 240}, "File Size:"),
      lblSize(*this, "lblSize", Rect{1200, 720, 900, 240}, "1234567890"),
      cmdCancel(*this, "cmdCancel", Rect{3840, 540, 975, 375}, "Cancel"),
      ProgressBar1(*this, "ProgressBar1", Rect{120, 1140, 4695, 375}) {
    setCaption("Checking For Updates");
    clientWidth = 4950;
    clientHeight = 1875;
    centered = true;
    icon = "tav.png";
    font = ui::Font{"Trebuchet MS", 8.25f, false};
    for (ui::Label* l : {&lblAction, &Label2, &lblFileName, &Label1, &lblSize}) l->font = ui::Font{"Trebuchet MS", 8.25f, true};
    lblAction.font.size = 9.75f;
    cmdCancel.font = font;
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(100);
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmAutoUpdate::Form_Load() { modAutoUpdate::CheckForUpdates(); }

void frmAutoUpdate::cmdCancel_Click() { Tag = "Cancel"; }

}  // namespace update
