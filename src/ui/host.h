// What a toolkit must do to show forms. The Qt host (Linux), the Win32 host
// (Windows) and the FakeHost of the tests implement it.
#pragma once
#include <cstdint>
#include <string>

#include "ui/form.h"
#include "ui/timer_menu.h"

namespace ui {

enum class MsgBoxButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };
enum class MsgBoxResult { OK, Cancel, Yes, No, Retry };

// The notification-area icon record, kept for the program's life and passed unchanged to every request.
struct TrayIcon {
    uint32_t cbSize = 0;
    Form* owner = nullptr;  // the window that receives the icon's mouse messages
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    std::string icon;       // resource name of the icon
    char szTip[64] = {};
};
enum class TrayRequest { Add, Modify, Delete };

class Host {
public:
    virtual ~Host() = default;

    // Prepares the toolkit's common controls before the first window exists.
    virtual void initCommonControls() {}

    virtual void realize(Form& f) = 0;
    virtual void destroy(Form& f) = 0;
    virtual void show(Form& f) = 0;
    virtual void hide(Form& f) = 0;
    virtual void formChanged(Form& f) = 0;  // caption or window state
    virtual void formMoved(Form& f) = 0;    // position or size set by the code
    virtual void controlChanged(Control& c) = 0;
    virtual void refresh(Form& f) = 0;      // repaint at once

    virtual MsgBoxResult msgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                                const std::string& title) = 0;
    virtual void doEvents() = 0;

    virtual bool trayIcon(TrayRequest request, const TrayIcon& record) = 0;
    // Pops up a menu at the mouse position on behalf of owner; returns once it is closed.
    virtual void popupMenu(Menu& menu, Form& owner) = 0;
    virtual void setForeground(Form& f) = 0;

    virtual float screenWidth() const = 0;   // twips
    virtual float screenHeight() const = 0;  // twips
    virtual float twipsPerPixelX() const = 0;
    virtual float twipsPerPixelY() const = 0;

    [[noreturn]] virtual void endProcess(int code) = 0;
};

}  // namespace ui
