#include "ui/msgbox.h"

#include "ui/application.h"
#include "ui/trace.h"

namespace ui {

MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon, const std::string& title) {
    Application& a = app();
    const std::string caption = title.empty() ? a.title : title;
    if (TraceEnabled()) Trace("msgbox " + caption + ": " + TraceText(prompt));
    return a.host().msgBox(prompt, buttons, icon, caption);
}

void DoEvents() { app().host().doEvents(); }

}  // namespace ui
