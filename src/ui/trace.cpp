#include "ui/trace.h"

#include <cstdio>
#include <cstdlib>

#include "ui/timer_menu.h"

namespace ui {

bool TraceEnabled() {
    static const bool enabled = std::getenv("TAV_TRACE") != nullptr;
    return enabled;
}

void Trace(const std::string& line) {
    std::fprintf(stderr, "TAVDashboard: %s\n", line.c_str());
    std::fflush(stderr);
}

std::string TraceText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void TraceMenu(const Menu& menu) {
    if (!TraceEnabled()) return;
    std::string items;
    for (const Menu* item : menu.items()) items += (items.empty() ? "" : "|") + item->caption();
    Trace("menu " + menu.name() + ": " + items);
}

}  // namespace ui
