// The Host on the Win32 API: forms are top-level windows at their design geometry
// (twips converted with the system DPI); buttons, check and option buttons, text boxes,
// the date picker and the progress bar are native controls, the chart is a double-buffered
// GDI+ control, and labels, images, frames, lines and shapes are painted on the form
// (windowless, as the form designer's lightweight controls are). The tray icon is
// Shell_NotifyIconA; its callback reaches the owner form as a mouse move.
#pragma once
#include <windows.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "ui/host.h"
#include "ui/win32/win32_pictures.h"

namespace ui::win32 {

struct FormWindow;

class Win32Host : public Host {
public:
    explicit Win32Host(HINSTANCE instance);
    ~Win32Host() override;

    void initCommonControls() override;

    void realize(Form& f) override;
    void destroy(Form& f) override;
    void show(Form& f) override;
    void hide(Form& f) override;
    void formChanged(Form& f) override;
    void formMoved(Form& f) override;
    void controlChanged(Control& c) override;
    void refresh(Form& f) override;

    MsgBoxResult msgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                        const std::string& title) override;
    void doEvents() override;

    bool trayIcon(TrayRequest request, const TrayIcon& record) override;
    void popupMenu(Menu& menu, Form& owner) override;
    void setForeground(Form& f) override;

    float screenWidth() const override;
    float screenHeight() const override;
    float twipsPerPixelX() const override { return tppX_; }
    float twipsPerPixelY() const override { return tppY_; }

    [[noreturn]] void endProcess(int code) override;

    // The hidden application window of the single-instance check. It is kept directly
    // below the form the user saw last, so that the window above it is that form.
    void setApplicationWindow(HWND w) { appWindow_ = w; }

    // Runs the message loop until WM_QUIT; returns its exit code.
    int run();

    // The window of a realised form; null otherwise.
    static HWND windowOf(const Form& f);

    // Rounded to the nearest pixel, also left of or above the primary screen (negative).
    int pxX(float twips) const { return static_cast<int>(std::lround(twips / tppX_)); }
    int pxY(float twips) const { return static_cast<int>(std::lround(twips / tppY_)); }

    // The GDI font of a design font, created once and kept for the process.
    HFONT font(const Font& f);

private:
    friend struct FormWindow;
    friend LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);

    void pump(MSG& m);
    void applyControl(Control& c);
    void applyTimer(Timer& t);
    void keepApplicationWindowBelow(HWND shown);
    bool sendTray(DWORD message);

    HINSTANCE instance_;
    GdiplusSession gdiplus_;
    float tppX_ = 15, tppY_ = 15;
    int dpiY_ = 96;
    HWND appWindow_ = nullptr;
    std::map<std::string, HFONT> fonts_;
    TrayIcon trayRecord_;
    bool trayAdded_ = false;
    UINT taskbarCreated_ = 0;
};

}  // namespace ui::win32
