#include "app/global_state.h"

namespace modGlobal {

platform::Date dLastStoreVisit;
platform::Date dRemindMeDate;
int16_t iRemindMeIn = 0;
int16_t iStartWithWindows = 0;
int16_t iMinimizeOnStartup = 0;
Flag bStartWithWindowsRead = kFalse;
int16_t iDaysToNextVisit = 0;
Flag EmailSent = kFalse;
ui::TrayIcon nidTray;
Flag bDragging = kFalse;
float sngDragX = 0, sngDragY = 0;

void Reset() {
    dLastStoreVisit = dRemindMeDate = platform::Date{};
    iRemindMeIn = iStartWithWindows = iMinimizeOnStartup = iDaysToNextVisit = 0;
    bStartWithWindowsRead = EmailSent = bDragging = kFalse;
    nidTray = ui::TrayIcon{};
    sngDragX = sngDragY = 0;
}

}  // namespace modGlobal
