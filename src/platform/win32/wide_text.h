#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every conversion of text at the Win32 boundary: UTF-8 inside, UTF-16 for
// the W functions, and the ANSI code page only where a peer relies on it
// (the download server's request line, the extraction library, text files
// the suite writes).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// In the ANSI code page, character for character; nothing when one has no
// place in it (a "?" in its stead would name another file).
std::optional<std::string> ToAnsiExactly(std::wstring_view utf16);
// In the ANSI code page, the system's best fit for what has no place in it.
std::string ToAnsi(std::wstring_view utf16);
std::wstring FromAnsi(std::string_view ansi);
