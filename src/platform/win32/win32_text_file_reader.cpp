#include "platform/win32/win32_text_file_reader.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace {

// "E:\\version.txt", as a join at a drive root gives it, names "E:\version.txt".
std::wstring Named(std::string_view path) {
    const std::wstring wide = Widen(path);
    std::wstring named;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (i > 1 && wide[i] == L'\\' && named.back() == L'\\') continue;
        named += wide[i];
    }
    return named;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

std::optional<std::string> Win32TextFileReader::ReadText(std::string_view path) {
    FileHandle file(CreateFileW(Named(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > static_cast<LONGLONG>(kLargestFile)) return std::nullopt;

    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        return std::nullopt;
    }
    if (bytes.empty()) return std::string();

    const std::wstring wide = FromAnsi(std::string_view(bytes.data(), bytes.size()));
    if (wide.empty()) return std::nullopt;
    return Narrow(wide);
}

bool Win32TextFileReader::WriteText(std::string_view path, std::string_view text) {
    const std::wstring wide = Widen(text);
    const std::string ansi = ToAnsi(wide);
    if (!wide.empty() && ansi.empty()) return false;
    const std::wstring target = Named(path);
    const std::wstring partial = target + L".partiel";
    bool written = false;
    {
        FileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE) return false;
        DWORD done = 0;
        written = WriteFile(file.Get(), ansi.data(), static_cast<DWORD>(ansi.size()), &done, nullptr) &&
                  done == ansi.size() && FlushFileBuffers(file.Get());
    }
    if (written && MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(partial.c_str());
    return false;
}
