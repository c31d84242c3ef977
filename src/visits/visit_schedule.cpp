#include "visits/visit_schedule.h"

#include <cstdint>

#include "app/frm_systray.h"
#include "app/global_state.h"
#include "platform/services.h"
#include "ui/application.h"
#include "visits/frm_appt.h"

namespace visits {

void ShowVisitDates(const std::string& lastVisitText) {
    app::frmSysTray& dash = app::Dashboard();
    dash.lblLastStoreVisit.setCaption(lastVisitText);
    if (auto last = platform::parseDateText(lastVisitText)) {
        dash.lblNextStoreVisit.setCaption(platform::shortDateText(*last + kVisitCycleDays));
    }
    dash.pbLastStoreVisit.setMax(kVisitCycleDays);
}

int16_t DaysToNextVisit(const std::string& nextVisitText, platform::Date today) {
    const std::optional<platform::Date> next = platform::parseDateText(nextVisitText);
    if (!next) return INT16_MIN;
    const int32_t days = *next - today;
    // A count beyond 16 bits either way (a last visit left at the zero date) is overdue.
    if (days < INT16_MIN || days > INT16_MAX) return INT16_MIN;
    return static_cast<int16_t>(days);
}

void CheckVisit() {
    using namespace modGlobal;
    app::frmSysTray& dash = app::Dashboard();
    const platform::Date today = platform::today();
    iDaysToNextVisit = DaysToNextVisit(dash.lblNextStoreVisit.caption(), today);
    if (iDaysToNextVisit > 0 && iDaysToNextVisit < kVisitCycleDays) {
        dash.pbLastStoreVisit.setValue(kVisitCycleDays - iDaysToNextVisit);
        return;
    }
    // Due today, or the last visit was today: nothing changes.
    if (iDaysToNextVisit == 0 || iDaysToNextVisit == kVisitCycleDays) return;

    dash.pbLastStoreVisit.setValue(kVisitCycleDays);
    // A pending reminder keeps the window away until its day.
    if (iRemindMeIn != 0 && dRemindMeDate > today) return;
    ui::app().form<frmAppt>().Show();
}

}  // namespace visits
