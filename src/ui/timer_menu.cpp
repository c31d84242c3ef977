#include "ui/timer_menu.h"

#include "ui/application.h"

namespace ui {

Timer::Timer(Form& f, std::string name, int intervalMs, bool enabled)
    : Control(f, std::move(name), ControlKind::Timer, Rect{}, nullptr), interval_(intervalMs) {
    setEnabled(enabled);
}

void Timer::setInterval(int ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    notify();
}

void Timer::fire() {
    if (enabled() && Tick) app().dispatch(Tick);
}

Menu::Menu(Form& f, std::string name, std::string caption, Menu* parent)
    : CaptionedControl(f, std::move(name), ControlKind::Menu, Rect{}, parent), parent_(parent) {
    setCaption(std::move(caption));
    if (parent_) parent_->items_.push_back(this);
}

}  // namespace ui
