#pragma once

#include <string>
#include <string_view>

// UTF-8 inside, UTF-16 at the Win32 boundary.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
