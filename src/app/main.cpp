#include <windows.h>

#include <string>

#include "config/build_settings.h"
#include "platform/win32/com_calls.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_crypto.h"
#include "platform/win32/win32_platform.h"
#include "app/single_instance.h"
#include "app/startup_trace.h"
#include "app/window_host.h"
#include "drive/app_folder.h"
#include "trust/trusted_downloader.h"
#include "window/window_layout.h"

namespace {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return Narrow(std::wstring_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

// The public keys the launcher was built to trust (CMake's TRUSTED_KEYS).
std::vector<TrustedKey> BuiltInKeys() {
    return {
#include "trusted_keys.inc"
    };
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    MarkStartupPhase("entry");
    // A removed key or an empty drive must fail quietly, not stop the
    // launcher behind a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A DLL dropped in the current folder must never be loaded in place of
    // the system's: that folder leaves the search.
    SetDllDirectoryW(L"");
    const std::string appFolder = AppFolderOf(ExecutablePath());
    SingleInstance instanceOfThisKey(appFolder);
    if (instanceOfThisKey.Taken()) return 0;

    Form1 form = BuildDesignForm1();
    Win32Platform platform(appFolder);
    // Nothing from the server is used before it is checked against its
    // signed catalogue.
    Win32SignatureCheck signatures;
    TrustedDownloader downloads(platform.Transfers(), signatures, platform.services.textFiles,
                                platform.services.appFolder, std::string(kDownloadBase), BuiltInKeys());
    Services services = WithDownloader(platform.services, downloads);
    int result = 1;
    bool com = false;
    {
        WindowHost host(instance, form, services);
        if (host.Create()) {
            // COM once for the thread, after the first frame: the shell wants
            // it for ShellExecuteEx, and the shortcut writer would otherwise
            // start and stop it for every link. Nothing before uses it.
            com = Com().found && SUCCEEDED(Com().initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
            platform.SetMainWindow(host.Handle(), [&host] { host.ShowModelChanges(); });
            host.AttachAction(platform.Action());
            instanceOfThisKey.Publish(host.Handle());
            result = host.Run();
        }
    }
    if (com) Com().uninitialize();
    return result;
}
