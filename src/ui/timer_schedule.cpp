#include "ui/timer_schedule.h"

#include <numeric>

namespace ui {

TimerSchedule::TimerSchedule(std::vector<Timer*> timers) {
    for (Timer* t : timers) entries_.push_back({t, 0});
    recompute();
}

void TimerSchedule::recompute() {
    int base = 0;
    for (const Entry& e : entries_) {
        if (e.timer->enabled() && e.timer->interval() > 0) base = std::gcd(base, e.timer->interval());
    }
    base_ = base;
}

int TimerSchedule::baseInterval() const { return base_; }

void TimerSchedule::timerChanged(Timer& t) {
    for (Entry& e : entries_) {
        if (e.timer == &t) e.elapsedMs = 0;
    }
    recompute();
}

void TimerSchedule::tick() {
    if (base_ <= 0) return;
    // Which timers are due is settled before any handler runs: a handler that changes a timer
    // affects the ticks after this one, as with separate timers.
    std::vector<Timer*> due;
    for (Entry& e : entries_) {
        if (!e.timer->enabled() || e.timer->interval() <= 0) continue;
        e.elapsedMs += base_;
        if (e.elapsedMs >= e.timer->interval()) {
            e.elapsedMs = 0;
            due.push_back(e.timer);
        }
    }
    for (Timer* t : due) t->fire();
}

}  // namespace ui
