#include "platform/win32/wide_text.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(length, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view utf16) { return FromWide(CP_UTF8, utf16); }
std::string ToAnsi(std::wstring_view utf16) { return FromWide(CP_ACP, utf16); }
std::wstring FromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

std::optional<std::string> ToAnsiExactly(std::wstring_view utf16) {
    if (utf16.empty()) return std::string();
    // The UTF-8 code page holds every character, and refuses the "default
    // character used" question.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL lossy = FALSE;
    BOOL* lossyOut = utf8 ? nullptr : &lossy;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(CP_ACP, flags, utf16.data(), size, nullptr, 0, nullptr, lossyOut);
    if (length <= 0 || lossy) return std::nullopt;
    std::string ansi(length, '\0');
    if (WideCharToMultiByte(CP_ACP, flags, utf16.data(), size, ansi.data(), length, nullptr, lossyOut) != length ||
        lossy) {
        return std::nullopt;
    }
    return ansi;
}
