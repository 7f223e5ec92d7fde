#include "app/single_instance.h"

#include <cstdint>

#include "platform/win32/wide_text.h"

namespace {

// The folder names the claim, whatever its case; a hash keeps the name short
// and free of backslashes.
std::wstring ClaimName(const std::string& appFolder, const wchar_t* what) {
    std::wstring folder = Widen(appFolder);
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    std::uint64_t hash = 1469598103934665603ULL;
    for (const wchar_t c : folder) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ULL;
    }
    wchar_t name[96];
    swprintf(name, 96, L"Local\\CantarelPortable-%016llx-%ls", static_cast<unsigned long long>(hash), what);
    return name;
}

}  // namespace

// How long a launcher on its way out is given to end.
constexpr DWORD kHandOverMilliseconds = 3000;

SingleInstance::SingleInstance(const std::string& appFolder) {
    shared_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint64_t),
                                 ClaimName(appFolder, L"fenetre").c_str());
    if (shared_ != nullptr) view_ = MapViewOfFile(shared_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(std::uint64_t));
    claim_ = CreateMutexW(nullptr, TRUE, ClaimName(appFolder, L"lanceur").c_str());
    if (claim_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return;
    // The user sees the running launcher at once; if it was ending (an update
    // handing over), its claim comes free and this one goes on.
    ShowTheOther();
    const DWORD waited = WaitForSingleObject(claim_, kHandOverMilliseconds);
    taken_ = waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED;
}

SingleInstance::~SingleInstance() {
    Publish(nullptr);
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (shared_ != nullptr) CloseHandle(shared_);
    if (claim_ != nullptr) {
        if (!taken_) ReleaseMutex(claim_);
        CloseHandle(claim_);
    }
}

void SingleInstance::Publish(HWND window) {
    if (view_ != nullptr && !taken_) {
        InterlockedExchange64(static_cast<volatile LONG64*>(view_), static_cast<LONG64>(reinterpret_cast<INT_PTR>(window)));
    }
}

void SingleInstance::ShowTheOther() const {
    if (view_ == nullptr) return;
    const LONG64 stored = InterlockedCompareExchange64(static_cast<volatile LONG64*>(view_), 0, 0);
    const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(stored));
    if (stored == 0 || !IsWindow(window)) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}
