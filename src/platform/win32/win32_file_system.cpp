#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace {

FileResult FromError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return FileResult::kMissing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileResult::kInUse;
    case ERROR_WRITE_PROTECT:
        return FileResult::kWriteProtected;
    case ERROR_ACCESS_DENIED:
        return FileResult::kDenied;
    case ERROR_DIR_NOT_EMPTY:
        return FileResult::kNotEmpty;
    default:
        return FileResult::kFailed;
    }
}

FileResult Outcome(BOOL done) { return done ? FileResult::kDone : FromError(GetLastError()); }

// "E:\Dossier\" names the folder itself; "E:\" stays as it is. A trailing
// backslash would make some calls look through a junction to its target.
std::wstring Named(std::string_view path) {
    std::wstring wide = Widen(path);
    while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
    return wide;
}

}  // namespace

std::optional<std::string> Win32FileSystem::FirstFile(std::string_view pattern) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Widen(pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> found;
    do {
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) == 0) {
            found = Narrow(entry.cFileName);
            break;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

FileResult Win32FileSystem::ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::wstring pattern = Widen(folder);
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // An empty drive root lists nothing at all, not even ".".
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
            const DWORD attributes = GetFileAttributesW(Named(folder).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return FileResult::kDone;
            }
        }
        return FromError(error);
    }
    FileResult result = FileResult::kDone;
    for (;;) {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") entries.push_back({Narrow(name), entry.dwFileAttributes});
        if (!FindNextFileW(find, &entry)) {
            const DWORD error = GetLastError();
            if (error != ERROR_NO_MORE_FILES) result = FromError(error);
            break;
        }
    }
    FindClose(find);
    // A listing cut short must not pass for the whole folder.
    if (result != FileResult::kDone) entries.clear();
    return result;
}

FileResult Win32FileSystem::Attributes(std::string_view path, std::uint32_t& attributes) {
    const DWORD found = GetFileAttributesW(Named(path).c_str());
    if (found == INVALID_FILE_ATTRIBUTES) return FromError(GetLastError());
    attributes = found;
    return FileResult::kDone;
}

FileResult Win32FileSystem::ClearAttributes(std::string_view path) {
    return Outcome(SetFileAttributesW(Named(path).c_str(), FILE_ATTRIBUTE_NORMAL));
}

FileResult Win32FileSystem::RemoveFile(std::string_view path) {
    return Outcome(DeleteFileW(Named(path).c_str()));
}

FileResult Win32FileSystem::RemoveFolder(std::string_view folder) {
    return Outcome(RemoveDirectoryW(Named(folder).c_str()));
}

FileResult Win32FileSystem::CreateFolder(std::string_view folder) {
    const std::wstring name = Named(folder);
    if (CreateDirectoryW(name.c_str(), nullptr)) return FileResult::kDone;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return FileResult::kDone;
        }
        return FileResult::kFailed;  // a file of that name is in the way
    }
    return FromError(error);
}

FileResult Win32FileSystem::Rename(std::string_view from, std::string_view to) {
    // No copy fallback: a move that cannot be one rename must fail, not
    // leave half a tree at each end. Written through, so a key pulled just
    // after still holds it.
    return Outcome(MoveFileExW(Named(from).c_str(), Named(to).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}
