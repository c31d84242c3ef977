// Program-wide state: one instance of each field for the whole process, zero at
// start (dates at the zero date, numbers 0, flags false, texts empty).
#pragma once
#include <cstdint>

#include "platform/date.h"
#include "ui/host.h"

namespace modGlobal {

// Flags are 16-bit values, true being all bits set.
using Flag = int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

extern platform::Date dLastStoreVisit;  // last check-up visit
extern platform::Date dRemindMeDate;    // day from which a pending reminder lets the appointment window open
extern int16_t iRemindMeIn;             // reminder interval in days, 0 = no reminder
extern int16_t iStartWithWindows;       // 1 = register the program to start at logon
extern int16_t iMinimizeOnStartup;      // 1 = start hidden in the tray
extern Flag bStartWithWindowsRead;      // the "Start With Windows" key was met while reading
extern int16_t iDaysToNextVisit;        // whole days from today to the next visit
extern Flag EmailSent;                  // the last dispatch was not refused for its sender address
extern ui::TrayIcon nidTray;            // the tray icon record
extern Flag bDragging;                  // window drag by the header label
extern float sngDragX, sngDragY;

// Back to the state at process start.
void Reset();

}  // namespace modGlobal
