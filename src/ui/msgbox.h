// Message boxes as the program's windows show them: modal, blocking, the application title
// as caption unless another is given. The trace reports each one with its caption and text.
#pragma once
#include <string>

#include "ui/host.h"

namespace ui {

MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons = MsgBoxButtons::OK,
                    MsgBoxIcon icon = MsgBoxIcon::None, const std::string& title = {});

// Lets the window events that are waiting run, then returns.
void DoEvents();

}  // namespace ui
