#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

#include "platform/win32/com_calls.h"
#include "platform/win32/wide_text.h"

namespace {

// The shell's link object. Spelt out here so that nothing beyond ole32 is
// linked for one identifier.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// COM for the time of one write. On a thread where COM already runs in
// another mode the link object still works; only our own start is undone.
class ComScope {
public:
    ComScope() : started_(Com().found && SUCCEEDED(Com().initialize(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (started_) Com().uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool started_;
};

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    void** Out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

bool Fill(IShellLinkW& shellLink, const ShellLink& link) {
    return SUCCEEDED(shellLink.SetPath(Widen(link.targetPath).c_str())) &&
           SUCCEEDED(shellLink.SetWorkingDirectory(Widen(link.workingFolder).c_str())) &&
           SUCCEEDED(shellLink.SetShowCmd(link.windowStyle)) &&
           SUCCEEDED(shellLink.SetIconLocation(Widen(link.iconPath).c_str(), link.iconIndex)) &&
           SUCCEEDED(shellLink.SetArguments(Widen(link.arguments).c_str()));
}

}  // namespace

bool Win32ShellLinks::Write(std::string_view linkPath, const ShellLink& link) {
    if (!Com().found) return false;
    ComScope com;
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(Com().createInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                                shellLink.Out()))) {
        return false;
    }
    // A field the link object refuses leaves no half-filled link on the drive.
    if (!Fill(*shellLink.operator->(), link)) return false;
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(__uuidof(IPersistFile), file.Out()))) return false;
    return SUCCEEDED(file->Save(Widen(linkPath).c_str(), TRUE));
}
