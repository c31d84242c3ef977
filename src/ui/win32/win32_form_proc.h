// The window procedure of the forms: painting, closing, geometry and window state, keyboard
// navigation through the dialog manager (Tab, Shift+Tab, Enter, Escape), the commands and
// notifications of the native controls, the mouse on the painted controls and on the form,
// timers, and the tray icon's callback.
#pragma once
#include <windows.h>

namespace ui::win32 {

struct FormWindow;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Reports the window's position and size to its form, in twips (not before creation has
// finished, nor while minimised).
void ReportGeometry(FormWindow& fw);

}  // namespace ui::win32
