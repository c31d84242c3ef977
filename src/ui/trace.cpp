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

void TraceMenu(const Menu& menu) {
    if (!TraceEnabled()) return;
    std::string items;
    for (const Menu* item : menu.items()) items += (items.empty() ? "" : "|") + item->caption();
    Trace("menu " + menu.name() + ": " + items);
}

}  // namespace ui
