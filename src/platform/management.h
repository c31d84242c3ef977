// Management queries: the operating system, processors, memory modules, disk drives and
// network adapters, by the class and property names of the Windows management service.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One property as read: a value (numbers in decimal), present without a value, or not there.
struct Property {
    enum class State { Value, Null, Missing };
    State state = State::Missing;
    std::string text;

    static Property Of(std::string value) { return {State::Value, std::move(value)}; }
    static Property Null() { return {State::Null, {}}; }
    bool has() const { return state == State::Value; }
};

// The properties asked for, by the names given (read case-insensitively by the service).
using ManagementRecord = std::map<std::string, Property>;

class Management {
public:
    virtual ~Management() = default;
    // Every instance of a class; empty (no value) when the service cannot be reached or the
    // query fails.
    virtual std::optional<std::vector<ManagementRecord>> instancesOf(const std::string& className,
                                                                     const std::vector<std::string>& properties) = 0;
    // Starts enumerating a class without waiting: onInstance runs on the user-interface thread,
    // from its event loop, once per instance. False when the enumeration could not start.
    virtual bool instancesOfAsync(const std::string& className, std::function<void()> onInstance) = 0;
    // One object by its path, such as "Win32_NetworkAdapterConfiguration=2"; empty when there
    // is no such object.
    virtual std::optional<ManagementRecord> object(const std::string& path,
                                                   const std::vector<std::string>& properties) = 0;
};

}  // namespace platform
