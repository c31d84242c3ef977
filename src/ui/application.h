// The running program as the windows see it: the Host, the application title,
// and the registry that keeps each window at most once, created on first use.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"

namespace ui {

class Host;

class Application {
public:
    explicit Application(Host& host);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Host& host() const { return host_; }

    // The title that single-instance detection looks for and that message boxes show by default.
    std::string title = "TAVDashboard";

    // The form of type T, created (not loaded) on first use.
    template <class T>
    T& form() {
        if (auto it = forms_.find(T::kName); it != forms_.end()) return static_cast<T&>(*it->second);
        auto created = std::make_unique<T>();
        T& ref = *created;
        forms_.emplace(T::kName, std::move(created));
        ref.Form_Initialize();
        return ref;
    }
    template <class T>
    bool isLoaded() const {
        auto it = forms_.find(T::kName);
        return it != forms_.end() && it->second->loaded();
    }
    Form* find(const std::string& name) const;
    std::vector<Form*> forms() const;

    // An unloaded form is dropped from the registry; it is destroyed once no handler runs any more.
    void discard(Form& f);

    // Runs one event handler: errors never escape into the event loop, and discarded forms
    // are destroyed when the outermost handler returns.
    void dispatch(const std::function<void()>& handler);

private:
    Host& host_;
    std::map<std::string, std::unique_ptr<Form>> forms_;
    std::vector<std::unique_ptr<Form>> discarded_;
    int depth_ = 0;
};

// The one Application of the process.
Application& app();
void setApp(Application* a);

}  // namespace ui
