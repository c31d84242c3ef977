// One base tick for all the timers of a form. Each timer fires when as much time has passed
// since it was enabled as its interval; when every interval is a multiple of a common base,
// a single system timer at that base does the work of all of them, so the program wakes once
// per base interval instead of once per timer. Timers due on the same tick fire in the order
// of the form's controls, the order in which separate timers started together would fire.
#pragma once
#include <vector>

#include "ui/timer_menu.h"

namespace ui {

class TimerSchedule {
public:
    explicit TimerSchedule(std::vector<Timer*> timers);

    // The greatest common divisor of the enabled timers' intervals, in milliseconds; 0 when no
    // timer runs, and the host's system timer may stop.
    int baseInterval() const;
    // A timer was enabled, disabled or given another interval: it counts afresh from now.
    void timerChanged(Timer& t);
    // The base interval has passed: advances every enabled timer and fires those that are due.
    void tick();

private:
    struct Entry {
        Timer* timer;
        int elapsedMs;
    };
    std::vector<Entry> entries_;
    int base_ = 0;  // the base the elapsed counts are advanced by
    void recompute();
};

}  // namespace ui
