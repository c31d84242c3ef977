#include "ui/application.h"

#include <cstdio>
#include <exception>

namespace ui {

namespace {
Application* g_app = nullptr;
}

Application& app() { return *g_app; }
void setApp(Application* a) { g_app = a; }

Application::Application(Host& host) : host_(host) {}

Application::~Application() {
    // Forms reach the Host through app() while they are destroyed.
    forms_.clear();
    discarded_.clear();
    if (g_app == this) g_app = nullptr;
}

Form* Application::find(const std::string& name) const {
    auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second.get();
}

std::vector<Form*> Application::forms() const {
    std::vector<Form*> all;
    for (const auto& [name, f] : forms_) all.push_back(f.get());
    return all;
}

void Application::discard(Form& f) {
    auto it = forms_.find(f.name());
    if (it == forms_.end() || it->second.get() != &f) return;
    discarded_.push_back(std::move(it->second));
    forms_.erase(it);
    if (depth_ == 0) discarded_.clear();
}

void Application::dispatch(const std::function<void()>& handler) {
    ++depth_;
    try {
        handler();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TAVDashboard: unhandled error in an event handler: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "TAVDashboard: unhandled error in an event handler\n");
    }
    if (--depth_ == 0) discarded_.clear();
}

}  // namespace ui
