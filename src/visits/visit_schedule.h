// The check-up cycle of 182 days: the dashboard's visit display and the visit check.
#pragma once
#include <string>

namespace visits {

inline constexpr int kVisitCycleDays = 182;

// Shows the last visit as read from the settings file and the next visit 182 days later.
void ShowVisitDates(const std::string& lastVisitText);

// Brings the visit progress bar up to date and opens the appointment window when a visit is due.
void CheckVisit();

}  // namespace visits
