// The management queries on Windows: WMI over COM, in the local machine's default namespace.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/management.h"

struct IWbemServices;
struct IWbemObjectSink;

namespace platform {

class ManagementWmi : public Management {
public:
    // Runs on the user-interface thread, which it joins to a single-threaded COM apartment.
    ManagementWmi();
    ~ManagementWmi() override;
    ManagementWmi(const ManagementWmi&) = delete;
    ManagementWmi& operator=(const ManagementWmi&) = delete;

    std::optional<std::vector<ManagementRecord>> instancesOf(const std::string& className,
                                                             const std::vector<std::string>& properties) override;
    bool instancesOfAsync(const std::string& className, std::function<void()> onInstance) override;
    std::optional<ManagementRecord> object(const std::string& path, const std::vector<std::string>& properties) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool comReady_ = false;
    // A message-only window: the asynchronous query's sink posts to it from any thread, so
    // that each instance is handled on the user-interface thread.
    HWND window_ = nullptr;
    std::vector<std::function<void()>> handlers_;  // by the query's number, posted as wParam
    // The connection and the sink of each asynchronous query, kept until the program ends.
    std::vector<std::pair<IWbemServices*, IWbemObjectSink*>> pendingCalls_;
};

}  // namespace platform
