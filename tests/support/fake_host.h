// A Host without a window system. Tests click, type and tick timers by hand; message boxes
// are recorded and answered from a script; DoEvents runs queued actions.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/host.h"

namespace fakes {

struct RecordedMsgBox {
    std::string text;
    ui::MsgBoxButtons buttons;
    ui::MsgBoxIcon icon;
    std::string title;
};

struct TrayCall {
    ui::TrayRequest request;
    ui::TrayIcon record;
};

// Thrown by endProcess, so a test can see that the process would have ended there.
struct ProcessEnded {
    int code;
};

class FakeHost : public ui::Host {
public:
    void realize(ui::Form& f) override;
    void destroy(ui::Form& f) override;
    void show(ui::Form& f) override;
    void hide(ui::Form& f) override;
    void formChanged(ui::Form& f) override;
    void formMoved(ui::Form&) override {}
    void controlChanged(ui::Control& c) override;
    void refresh(ui::Form& f) override;
    ui::MsgBoxResult msgBox(const std::string& text, ui::MsgBoxButtons buttons, ui::MsgBoxIcon icon,
                            const std::string& title) override;
    void doEvents() override;
    bool trayIcon(ui::TrayRequest request, const ui::TrayIcon& record) override;
    void popupMenu(ui::Menu& menu, ui::Form& owner) override;
    void setForeground(ui::Form& f) override;
    float screenWidth() const override { return screenW; }
    float screenHeight() const override { return screenH; }
    float twipsPerPixelX() const override { return tpp; }
    float twipsPerPixelY() const override { return tpp; }
    [[noreturn]] void endProcess(int code) override;

    // The user's actions.
    void click(ui::Control& c);
    void tick(ui::Timer& t, int times = 1);
    // A tray icon callback with a mouse message code, as the window system delivers it.
    void trayCallback(int messageCode);

    float screenW = 1024 * 15.0f, screenH = 768 * 15.0f, tpp = 15.0f;

    // What happened, in order: "realize frmX", "show frmX", "hide frmX", "foreground frmX", "popup Menu", ...
    std::vector<std::string> log;
    std::vector<RecordedMsgBox> msgBoxes;
    std::vector<std::string> captions;  // "frmX: caption", each change of a window's caption
    std::deque<ui::MsgBoxResult> msgBoxAnswers;  // answered in order; OK when empty
    std::vector<TrayCall> trayCalls;
    std::deque<std::function<void()>> pendingEvents;  // run by the next DoEvents
    int doEventsCalls = 0;
    std::function<void(ui::Menu&)> onPopup;           // picks an item of a popped-up menu
};

}  // namespace fakes
