// The names of the temporary files that Files::replace writes beside a file before swapping
// them in: "<file name>.tmp<writer's process id>-<counter>". A process that ends in the middle
// of a replace (killed, or the power lost) leaves its temporary file behind; the process id in
// the name tells a later replace of the same file that nobody writes it any more.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

inline std::string TemporaryName(const std::string& fileName, uint32_t processId, unsigned counter) {
    return fileName + ".tmp" + std::to_string(processId) + "-" + std::to_string(counter);
}

// The writer's process id when entry is a temporary file of fileName (both without a folder).
inline std::optional<uint32_t> TemporaryWriter(const std::string& entry, const std::string& fileName) {
    const std::string prefix = fileName + ".tmp";
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    uint64_t pid = 0;
    size_t at = prefix.size();
    for (; at < entry.size() && entry[at] >= '0' && entry[at] <= '9'; ++at) {
        pid = pid * 10 + static_cast<uint64_t>(entry[at] - '0');
        if (pid > UINT32_MAX) return std::nullopt;
    }
    if (at == prefix.size() || at + 1 >= entry.size() || entry[at] != '-') return std::nullopt;
    for (size_t i = at + 1; i < entry.size(); ++i) {
        if (entry[i] < '0' || entry[i] > '9') return std::nullopt;
    }
    return static_cast<uint32_t>(pid);
}

}  // namespace platform
