#include "platform/win32/win32_dialogs.h"

#include <string>

#include "platform/win32/wide_text.h"

namespace {

constexpr std::string_view kApplicationTitle = "Cantarel Portable";

}  // namespace

int Win32Dialogs::Message(std::string_view text, std::string_view title, unsigned style) {
    const std::wstring wideText = Widen(text);
    const std::wstring wideTitle = Widen(title.empty() ? kApplicationTitle : title);
    return MessageBoxW(owner_, wideText.c_str(), wideTitle.c_str(), style);
}

std::optional<std::string> Win32Dialogs::Input(std::string_view, std::string_view) {
    return std::nullopt;
}
