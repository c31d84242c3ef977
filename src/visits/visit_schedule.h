// The check-up cycle of 182 days: the dashboard's visit display and the visit check.
#pragma once
#include <cstdint>
#include <string>

#include "platform/date.h"

namespace visits {

inline constexpr int kVisitCycleDays = 182;

// Shows the last visit as read from the settings file and the next visit 182 days later.
void ShowVisitDates(const std::string& lastVisitText);

// Whole days from today to the next visit written in the text; a text that is no date, or a
// count beyond the 16-bit range, gives the smallest count: overdue.
int16_t DaysToNextVisit(const std::string& nextVisitText, platform::Date today);

// Brings the visit progress bar up to date from the next visit the dashboard shows, and opens
// the appointment window when the visit is overdue (or more than a cycle ahead) and no
// reminder is pending.
void CheckVisit();

}  // namespace visits
