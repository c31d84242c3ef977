// The one-time hardware and operating-system summary shown on the dashboard.
#pragma once
#include <string>

namespace inventory {

struct Summary {
    std::string cpu, memory, drives, os;
};

// Collects the summary; blocks until every query has answered.
Summary CollectSummary();

}  // namespace inventory
