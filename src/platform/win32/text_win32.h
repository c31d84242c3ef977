// UTF-8 texts of the program and the UTF-16 texts of the wide Win32 functions.
#pragma once
#include <string>

namespace platform {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace platform
