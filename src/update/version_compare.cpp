#include "update/version_compare.h"

#include <algorithm>

#include "platform/trim.h"

namespace update {

std::optional<std::vector<long>> VersionParts(const std::string& text) {
    const std::string v = platform::Trim(text, platform::kWhitespace);
    if (v.empty()) return std::nullopt;
    std::vector<long> parts;
    size_t at = 0;
    for (;;) {
        const size_t dot = v.find('.', at);
        const std::string part = v.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
        // Whole numbers of a sensible size only: no signs, blanks or letters inside.
        if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        parts.push_back(std::stol(part));
        if (dot == std::string::npos) break;
        at = dot + 1;
    }
    return parts;
}

bool IsNewerVersion(const std::string& serverText, int major, int minor, int revision) {
    const auto server = VersionParts(serverText);
    if (!server) return false;
    const std::vector<long> current = {major, minor, revision};
    const size_t n = std::max(server->size(), current.size());
    for (size_t i = 0; i < n; ++i) {
        const long a = i < server->size() ? (*server)[i] : 0;
        const long b = i < current.size() ? current[i] : 0;
        if (a != b) return a > b;
    }
    return false;
}

}  // namespace update
