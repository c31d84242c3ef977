// Cutting characters (blanks by default) from both ends of a text.
#pragma once
#include <string>

namespace platform {

inline std::string Trim(const std::string& s, const char* chars = " ") {
    const size_t b = s.find_first_not_of(chars);
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(chars) - b + 1);
}

// Blanks, tabs and line ends: what files and protocol lines carry around a value.
inline const char* const kWhitespace = " \t\r\n";

}  // namespace platform
