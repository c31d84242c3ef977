// Timers and menus: controls without a place on the form's surface.
#pragma once
#include <vector>

#include "ui/control.h"

namespace ui {

// Fires Tick every interval milliseconds while enabled, whether its form is shown or hidden.
class Timer : public Control {
public:
    Timer(Form& f, std::string name, int intervalMs, bool enabled = true);
    int interval() const { return interval_; }
    void setInterval(int ms);
    std::function<void()> Tick;
    void fire();  // Host: the interval has passed

private:
    int interval_;
};

// A menu item; a top-level Menu holds the items of a pop-up menu. A caption of "-" is a separator.
class Menu : public CaptionedControl {
public:
    Menu(Form& f, std::string name, std::string caption, Menu* parent = nullptr);
    bool isSeparator() const { return caption() == "-"; }
    const std::vector<Menu*>& items() const { return items_; }
    Menu* parent() const { return parent_; }

private:
    Menu* parent_;
    std::vector<Menu*> items_;
};

}  // namespace ui
