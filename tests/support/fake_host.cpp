#include "support/fake_host.h"

#include "ui/application.h"

namespace fakes {

void FakeHost::realize(ui::Form& f) { log.push_back("realize " + f.name()); }
void FakeHost::destroy(ui::Form& f) { log.push_back("destroy " + f.name()); }
void FakeHost::show(ui::Form& f) { log.push_back("show " + f.name()); }
void FakeHost::hide(ui::Form& f) { log.push_back("hide " + f.name()); }
void FakeHost::formChanged(ui::Form& f) {
    const std::string entry = f.name() + ": " + f.caption();
    if (captions.empty() || captions.back() != entry) captions.push_back(entry);
}
void FakeHost::controlChanged(ui::Control&) {}
void FakeHost::refresh(ui::Form& f) { log.push_back("refresh " + f.name()); }

ui::MsgBoxResult FakeHost::msgBox(const std::string& text, ui::MsgBoxButtons buttons, ui::MsgBoxIcon icon,
                                  const std::string& title) {
    msgBoxes.push_back({text, buttons, icon, title});
    if (msgBoxAnswers.empty()) return ui::MsgBoxResult::OK;
    ui::MsgBoxResult r = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return r;
}

void FakeHost::doEvents() {
    ++doEventsCalls;
    while (!pendingEvents.empty()) {
        auto fn = std::move(pendingEvents.front());
        pendingEvents.pop_front();
        ui::app().dispatch(fn);
    }
}

bool FakeHost::trayIcon(ui::TrayRequest request, const ui::TrayIcon& record) {
    trayCalls.push_back({request, record});
    return true;
}

void FakeHost::popupMenu(ui::Menu& menu, ui::Form& owner) {
    log.push_back("popup " + menu.name() + " by " + owner.name());
    if (onPopup) onPopup(menu);
}

void FakeHost::setForeground(ui::Form& f) { log.push_back("foreground " + f.name()); }

void FakeHost::endProcess(int code) {
    log.push_back("end " + std::to_string(code));
    throw ProcessEnded{code};
}

void FakeHost::click(ui::Control& c) {
    ui::app().dispatch([&c] { if (c.Click) c.Click(); });
}

void FakeHost::tick(ui::Timer& t, int times) {
    for (int i = 0; i < times; ++i) t.fire();
}

void FakeHost::trayCallback(int messageCode) {
    ui::Form* owner = nullptr;
    for (const TrayCall& call : trayCalls) owner = call.record.owner;
    if (!owner) return;
    const float x = static_cast<float>(messageCode) * tpp;
    ui::app().dispatch([owner, x] { owner->Form_MouseMove(0, 0, x, 0); });
}

}  // namespace fakes
