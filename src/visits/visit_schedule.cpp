#include "visits/visit_schedule.h"

#include "app/frm_systray.h"
#include "platform/services.h"

namespace visits {

void ShowVisitDates(const std::string& lastVisitText) {
    app::frmSysTray& dash = app::Dashboard();
    dash.lblLastStoreVisit.setCaption(lastVisitText);
    if (auto last = platform::parseDateText(lastVisitText)) {
        dash.lblNextStoreVisit.setCaption(platform::shortDateText(*last + kVisitCycleDays));
    }
    dash.pbLastStoreVisit.setMax(kVisitCycleDays);
}

// The progress bar and the appointment window come with the visit schedule; until then the
// check leaves the display as the settings left it.
void CheckVisit() {}

}  // namespace visits
