// Diagnostics on stderr, on when the environment has TAV_TRACE: the captions the labels show
// and the menus the user is offered, so that support and tests can follow what the windows
// show without reading the screen.
#pragma once
#include <string>

namespace ui {

bool TraceEnabled();
void Trace(const std::string& line);

// A text on one line: each line break (CR LF, CR or LF) written as \n.
std::string TraceText(const std::string& text);

class Menu;
// "menu Menu: Show Dashboard|-|...": the items of a menu that pops up.
void TraceMenu(const Menu& menu);

}  // namespace ui
