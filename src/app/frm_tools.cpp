#include "app/frm_tools.h"

#include "mail/launcher.h"
#include "platform/services.h"
#include "store_config.h"
#include "ui/msgbox.h"

namespace app {

using ui::Rect;

frmTools::frmTools()
    : ui::Form(kName),
      imgCcleaner(*this, "imgCcleaner", Rect{1020, 480, 960, 960}, "cleaner.png"),
      Label1(*this, "Label1", Rect{600, 1560, 1800, 315}, store::kCleanerCaption),
      imgMbam(*this, "imgMbam", Rect{4020, 480, 960, 960}, "scanner.png"),
      Label2(*this, "Label2", Rect{3600, 1560, 1800, 315}, store::kScannerCaption),
      lblDLBlueScreenView(*this, "lblDLBlueScreenView", Rect{1500, 2520, 3000, 315}, "Download BlueScreenView") {
    setCaption("Tools");
    clientWidth = 6000;
    clientHeight = 3300;
    icon = "tav.png";
    picture = "tools.png";

    for (ui::Label* l : {&Label1, &Label2, &lblDLBlueScreenView}) l->alignment = ui::Alignment::Center;
    Label1.font.bold = Label2.font.bold = true;
    lblDLBlueScreenView.font = ui::Font{"Calibri", 11.25f, false, true};
    lblDLBlueScreenView.foreColor = ui::Color{40, 50, 168};
    lblDLBlueScreenView.mousePointer = ui::MousePointer::Hand;
    imgCcleaner.toolTip = std::string("Start ") + store::kCleanerCaption;
    imgMbam.toolTip = std::string("Start ") + store::kScannerCaption;

    imgCcleaner.MouseMove = [this](int16_t b, int16_t s, float x, float y) { imgCcleaner_MouseMove(b, s, x, y); };
    imgCcleaner.MouseUp = [this](int16_t b, int16_t s, float x, float y) { imgCcleaner_MouseUp(b, s, x, y); };
    imgMbam.MouseMove = [this](int16_t b, int16_t s, float x, float y) { imgMbam_MouseMove(b, s, x, y); };
    imgMbam.MouseUp = [this](int16_t b, int16_t s, float x, float y) { imgMbam_MouseUp(b, s, x, y); };
    lblDLBlueScreenView.Click = [this] { lblDLBlueScreenView_Click(); };
}

void frmTools::Form_MouseMove(int16_t, int16_t, float, float) {
    imgCcleaner.setBorderStyle(0);
    imgMbam.setBorderStyle(0);
}

void frmTools::imgCcleaner_MouseMove(int16_t, int16_t, float, float) { imgCcleaner.setBorderStyle(1); }
void frmTools::imgMbam_MouseMove(int16_t, int16_t, float, float) { imgMbam.setBorderStyle(1); }

void frmTools::imgCcleaner_MouseUp(int16_t, int16_t, float, float) {
    StartTool(store::kCleanerCaption, store::kCleanerPath);
}

void frmTools::imgMbam_MouseUp(int16_t, int16_t, float, float) { StartTool(store::kScannerCaption, store::kScannerPath); }

void frmTools::lblDLBlueScreenView_Click() { mShellExecute::OpenWebPage(store::kBlueScreenViewUrl); }

void StartTool(const std::string& caption, const std::string& path) {
    platform::Services& os = platform::services();
    if (os.processes->startProgram(path, platform::WindowMode::Normal)) return;
    const bool missing = !os.files->exists(path);
    ui::MsgBox(caption + (missing ? " is not installed where this program looks for it:\n" + path
                                  : " could not be started from\n" + path) +
               "\n\nIf you need help with it, please call " + store::kName + " at " + store::kPhone + ".");
}

}  // namespace app
