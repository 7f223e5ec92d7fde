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

// The form that lifts Windows' old limits ("\\?\"): paths longer than
// MAX_PATH, and names an archive may carry ("con", "aux.txt", "fin.", a
// trailing space) taken as they are, so such trees are scanned and removed
// like any other. That form is taken literally: doubled backslashes become
// one first. A path that is not absolute is left as it is.
std::wstring Extended(std::wstring path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    const bool drive = path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                       path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    if (!drive && !share) return path;
    const std::size_t keep = share ? 2 : 0;
    std::wstring single = path.substr(0, keep);
    for (std::size_t i = keep; i < path.size(); ++i) {
        if (path[i] == L'\\' && i > keep && single.back() == L'\\') continue;
        single += path[i];
    }
    return share ? L"\\\\?\\UNC\\" + single.substr(2) : L"\\\\?\\" + single;
}

// "E:\Dossier\" names the folder itself; "E:\" stays as it is. A trailing
// backslash would make some calls look through a junction to its target.
std::wstring Named(std::string_view path) {
    std::wstring wide = Widen(path);
    while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
    return Extended(std::move(wide));
}

}  // namespace

std::optional<std::string> Win32FileSystem::FirstFile(std::string_view pattern) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Extended(Widen(pattern)).c_str(), &entry);
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
    HANDLE find = FindFirstFileW(Extended(std::move(pattern)).c_str(), &entry);
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
