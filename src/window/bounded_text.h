#pragma once

#include <string>
#include <string_view>

// A text from outside (a library's message, an exception, a server) cut to
// what a message box can show, on a whole UTF-8 letter, with "…" where cut.
std::string BoundedText(std::string_view text, std::size_t most = 300);
