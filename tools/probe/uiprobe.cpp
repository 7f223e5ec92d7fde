// uiprobe: reads the launcher's windows from outside, through the ordinary
// Win32 API, and prints what it sees as JSON (UTF-8) on standard output.
// It runs in the launcher's Wine prefix (same wineserver), so the end-to-end
// tests read real window state instead of guessing from pixels.
//
//   uiprobe tree              main window and every descendant window
//   uiprobe model [W H]       the expected state: design form after start-up
//   uiprobe windows           top-level windows of every process but ours
//   uiprobe msgbox            message boxes of the launcher
//   uiprobe press <id>        presses a button of the launcher's message box
//   uiprobe close             sends the close command to the main window
//   uiprobe center <name>     screen coordinates of a control's centre
//   uiprobe tooltips          the tools of the launcher's tooltip controls
//
// Exit codes: 0 done, 1 usage, 3 no main window, 4 no such control,
// 5 no message box or button, 6 the launcher's memory cannot be read.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "window/startup.h"
#include "window/form1.h"
#include "window/window_layout.h"

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// Minimal JSON writer: the output is small and flat enough for this.
std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

struct Json {
    std::string text;
    bool first = true;
    Json& Key(std::string_view key) {
        if (!first) text += ", ";
        first = false;
        text += Quote(key) + ": ";
        return *this;
    }
    Json& Str(std::string_view key, std::string_view value) { Key(key).text += Quote(value); return *this; }
    Json& Int(std::string_view key, long long value) { Key(key).text += std::to_string(value); return *this; }
    Json& Bool(std::string_view key, bool value) { Key(key).text += value ? "true" : "false"; return *this; }
    Json& Raw(std::string_view key, std::string_view json) { Key(key).text += json; return *this; }
    std::string Done() const { return "{" + text + "}"; }
};

std::string Array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ",\n " : "") + items[i];
    return out + "]";
}

std::string RectJson(int left, int top, int width, int height) {
    return Json().Int("x", left).Int("y", top).Int("width", width).Int("height", height).Done();
}

void Print(const std::string& json) {
    const std::string line = json + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// A handle as a number: stable for the life of the window, usable by xdotool-free callers.
long long HandleNumber(HWND hwnd) { return static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)); }

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

// Reads the text the window manager keeps; never sends a message, so a busy
// launcher cannot block the probe.
std::wstring TextOf(HWND hwnd) {
    std::vector<wchar_t> buf(4096);
    const int n = GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
    return std::wstring(buf.data(), n > 0 ? n : 0);
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

HWND FindMain() { return FindWindowW(nullptr, Wide(Form1::kCaption).c_str()); }

Size ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// A lambda is no WNDENUMPROC on i686 (stdcall): one plain callback collects.
BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND root) {
    std::vector<HWND> found;
    EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> TopLevel() {
    std::vector<HWND> found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

const Form1& Design() {
    static const Form1 form = BuildDesignForm1();
    return form;
}

std::string ControlName(int id) {
    const int index = ControlIndexFromWindowId(id);
    if (index < 0 || index >= Design().Count()) return {};
    return Design().At(index).name;
}

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::MenuButton: return "MenuButton";
        case ControlKind::Panel: return "Panel";
        case ControlKind::ProgramPicture: return "ProgramPicture";
        case ControlKind::ImageHolder: return "ImageHolder";
        case ControlKind::Label: return "Label";
        case ControlKind::Decoration: return "Decoration";
        case ControlKind::WaitingBar: return "WaitingBar";
        case ControlKind::BarText: return "BarText";
        case ControlKind::ValueHolder: return "ValueHolder";
    }
    return "?";
}

std::string NotFound() {
    const Size screen = ScreenSize();
    return Json().Bool("found", false).Raw("screen", Json().Int("width", screen.width).Int("height", screen.height).Done()).Done();
}

int Tree() {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    RECT outer{}, client{};
    GetWindowRect(main, &outer);
    GetClientRect(main, &client);
    POINT clientOrigin{0, 0};
    ClientToScreen(main, &clientOrigin);
    const Size screen = ScreenSize();
    // The main window is read before its children: the launcher marks it
    // ready once every child exists, so "ready" vouches for a complete list.
    const std::string mainJson =
        Json()
            .Int("hwnd", HandleNumber(main))
            .Int("pid", ProcessOf(main))
            .Str("title", Utf8(TextOf(main)))
            .Str("class", Utf8(ClassOf(main)))
            .Bool("visible", IsWindowVisible(main) != FALSE)
            .Bool("ready", GetPropW(main, L"CantarelPortable.Ready") != nullptr)
            .Bool("enabled", IsWindowEnabled(main) != FALSE)
            .Bool("iconic", IsIconic(main) != FALSE)
            .Int("style", static_cast<unsigned long>(GetWindowLongW(main, GWL_STYLE)))
            .Raw("rect", RectJson(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top))
            .Raw("client", Json()
                               .Int("x", clientOrigin.x)
                               .Int("y", clientOrigin.y)
                               .Int("width", client.right)
                               .Int("height", client.bottom)
                               .Done())
            .Done();
    std::vector<std::string> children;
    for (const HWND hwnd : Descendants(main)) {
        const HWND parent = GetAncestor(hwnd, GA_PARENT);
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        const int id = GetDlgCtrlID(hwnd);
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        children.push_back(Json()
                               .Int("hwnd", HandleNumber(hwnd))
                               .Int("parent", HandleNumber(parent))
                               .Int("parentId", parent == main ? 0 : GetDlgCtrlID(parent))
                               .Int("id", id)
                               .Str("name", ControlName(id))
                               .Str("class", Utf8(ClassOf(hwnd)))
                               .Str("text", Utf8(TextOf(hwnd)))
                               .Bool("styleVisible", (style & WS_VISIBLE) != 0)
                               .Bool("visible", IsWindowVisible(hwnd) != FALSE)
                               .Bool("enabled", IsWindowEnabled(hwnd) != FALSE)
                               .Raw("rect", RectJson(r.left, r.top, r.right - r.left, r.bottom - r.top))
                               .Int("position", ClassOf(hwnd) == PROGRESS_CLASSW
                                                    ? static_cast<long>(SendMessageW(hwnd, PBM_GETPOS, 0, 0))
                                                    : -1)
                               .Done());
    }
    Print(Json()
              .Bool("found", true)
              .Raw("screen", Json().Int("width", screen.width).Int("height", screen.height).Done())
              .Raw("main", mainJson)
              .Raw("children", Array(children))
              .Done());
    return 0;
}

// The expected state after start-up. The outer size comes from the running
// window when there is one (the frame is the platform's business), else the
// bare client size.
int Model(int argc, wchar_t** argv) {
    Size screen = ScreenSize();
    if (argc >= 4) screen = {_wtoi(argv[2]), _wtoi(argv[3])};
    Form1 form = BuildDesignForm1();
    if (const HWND main = FindMain()) {
        RECT outer{};
        GetWindowRect(main, &outer);
        form.windowRect = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    } else {
        form.windowRect = {0, 0, Form1::kClientSize.width, Form1::kClientSize.height};
    }
    // The placing steps of start-up; what the drive changes, the tests predict.
    CentreWindow(form, screen);
    PlacePanels(form);
    std::vector<std::string> controls;
    for (int i = 0; i < form.Count(); ++i) {
        const Control& c = form.At(i);
        controls.push_back(Json()
                               .Int("index", i)
                               .Int("id", ControlWindowId(i))
                               .Str("name", c.name)
                               .Str("kind", KindName(c.kind))
                               .Bool("shownKind", IsShownKind(c.kind))
                               .Str("parent", c.parent == kNoParent ? "" : form.At(c.parent).name)
                               .Raw("rect", RectJson(c.rect.left, c.rect.top, c.rect.width, c.rect.height))
                               .Bool("visible", c.visible)
                               .Bool("shown", form.IsShown(i))
                               .Bool("enabled", c.enabled)
                               .Str("caption", c.caption)
                               .Str("tooltip", c.tooltip)
                               .Str("image", c.image)
                               .Bool("handCursor", c.handCursor)
                               .Int("widthLimit", c.widthLimit)
                               .Done());
    }
    const Rect& w = form.windowRect;
    Print(Json()
              .Str("title", Form1::kCaption)
              .Raw("client", Json().Int("width", Form1::kClientSize.width).Int("height", Form1::kClientSize.height).Done())
              .Raw("screen", Json().Int("width", screen.width).Int("height", screen.height).Done())
              .Raw("windowRect", RectJson(w.left, w.top, w.width, w.height))
              .Raw("controls", Array(controls))
              .Done());
    return 0;
}

int Windows() {
    const DWORD self = GetCurrentProcessId();
    std::vector<std::string> windows;
    for (const HWND hwnd : TopLevel()) {
        const DWORD pid = ProcessOf(hwnd);
        if (pid == self) continue;
        RECT r{};
        GetWindowRect(hwnd, &r);
        windows.push_back(Json()
                              .Int("hwnd", HandleNumber(hwnd))
                              .Int("pid", pid)
                              .Int("owner", HandleNumber(GetWindow(hwnd, GW_OWNER)))
                              .Str("class", Utf8(ClassOf(hwnd)))
                              .Str("title", Utf8(TextOf(hwnd)))
                              .Bool("visible", IsWindowVisible(hwnd) != FALSE)
                              .Raw("rect", RectJson(r.left, r.top, r.right - r.left, r.bottom - r.top))
                              .Done());
    }
    const HWND main = FindMain();
    Print(Json()
              .Int("mainPid", main ? ProcessOf(main) : 0)
              .Raw("windows", Array(windows))
              .Done());
    return 0;
}

// Message boxes of the launcher's process; with the main window gone, those
// of any other process (the probe itself never shows one).
std::vector<HWND> MessageBoxes() {
    const HWND main = FindMain();
    const DWORD launcher = main ? ProcessOf(main) : 0;
    const DWORD self = GetCurrentProcessId();
    std::vector<HWND> boxes;
    for (const HWND hwnd : TopLevel()) {
        if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) continue;
        const DWORD pid = ProcessOf(hwnd);
        if (pid == self || (launcher && pid != launcher)) continue;
        boxes.push_back(hwnd);
    }
    return boxes;
}

int MsgBox() {
    std::vector<std::string> boxes;
    for (const HWND box : MessageBoxes()) {
        std::vector<std::string> buttons;
        bool icon = false;
        for (const HWND child : Descendants(box)) {
            const std::wstring cls = ClassOf(child);
            const int id = GetDlgCtrlID(child);
            if (cls == L"Button" && IsWindowVisible(child)) {
                buttons.push_back(Json()
                                      .Int("id", id)
                                      .Str("text", Utf8(TextOf(child)))
                                      .Bool("enabled", IsWindowEnabled(child) != FALSE)
                                      .Done());
            } else if (cls == L"Static" && id != 0xFFFF && IsWindowVisible(child) &&
                       (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                icon = true;
            }
        }
        const HWND text = GetDlgItem(box, 0xFFFF);
        boxes.push_back(Json()
                            .Int("hwnd", HandleNumber(box))
                            .Int("pid", ProcessOf(box))
                            .Int("owner", HandleNumber(GetWindow(box, GW_OWNER)))
                            .Bool("ownedByMain", GetWindow(box, GW_OWNER) == FindMain() && FindMain())
                            .Str("title", Utf8(TextOf(box)))
                            .Str("text", text ? Utf8(TextOf(text)) : "")
                            .Bool("icon", icon)
                            .Raw("buttons", Array(buttons))
                            .Done());
    }
    Print(Json().Raw("boxes", Array(boxes)).Done());
    return 0;
}

// Posts the button's command to the box, as the button itself would on a
// click; labels depend on the prefix's language, ids do not.
int Press(int buttonId) {
    for (const HWND box : MessageBoxes()) {
        const HWND button = GetDlgItem(box, buttonId);
        if (!button || !IsWindowVisible(button)) continue;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        Print(Json().Bool("pressed", true).Int("box", HandleNumber(box)).Int("id", buttonId).Done());
        return 0;
    }
    Print(Json().Bool("pressed", false).Int("id", buttonId).Done());
    return 5;
}

int Close() {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Print(Json().Bool("posted", true).Int("hwnd", HandleNumber(main)).Done());
    return 0;
}

int Center(std::string_view name) {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    const int index = Design().IndexOf(name);
    HWND control = nullptr;
    if (index >= 0) {
        for (const HWND hwnd : Descendants(main)) {
            if (GetDlgCtrlID(hwnd) == ControlWindowId(index)) {
                control = hwnd;
                break;
            }
        }
    }
    if (!control) {
        Print(Json().Bool("found", false).Str("name", name).Done());
        return 4;
    }
    RECT client{};
    GetClientRect(control, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(control, &centre);
    Print(Json()
              .Bool("found", true)
              .Str("name", name)
              .Int("hwnd", HandleNumber(control))
              .Int("x", centre.x)
              .Int("y", centre.y)
              .Bool("visible", IsWindowVisible(control) != FALSE)
              .Bool("enabled", IsWindowEnabled(control) != FALSE)
              .Done());
    return 0;
}

// A tooltip control keeps its tools in the launcher's memory and answers
// TTM_ENUMTOOLSW with a pointer there: the record and its text buffer are
// placed in the launcher's address space and read back.
int Tooltips() {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    const DWORD pid = ProcessOf(main);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) {
        Print(Json().Bool("found", true).Str("error", "cannot open the launcher's process").Done());
        return 6;
    }
    constexpr SIZE_T kTextOffset = 4096;
    constexpr SIZE_T kTextChars = 1024;  // INFOTIPSIZE
    void* remote = VirtualAllocEx(process, nullptr, kTextOffset + kTextChars * sizeof(wchar_t),
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    std::vector<std::string> tools;
    for (const HWND tip : TopLevel()) {
        if (ProcessOf(tip) != pid || ClassOf(tip) != TOOLTIPS_CLASSW || !remote) continue;
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        for (DWORD_PTR i = 0; i < count; ++i) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = reinterpret_cast<LPWSTR>(static_cast<char*>(remote) + kTextOffset);
            const wchar_t empty = 0;
            WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
            WriteProcessMemory(process, info.lpszText, &empty, sizeof empty, nullptr);
            DWORD_PTR ok = 0;
            if (!SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                     5000, &ok) || !ok) {
                continue;
            }
            std::vector<wchar_t> text(kTextChars + 1, 0);
            ReadProcessMemory(process, remote, &info, sizeof info, nullptr);
            const bool callback = info.lpszText == LPSTR_TEXTCALLBACKW;
            if (!callback && !IS_INTRESOURCE(info.lpszText)) {
                ReadProcessMemory(process, info.lpszText, text.data(), kTextChars * sizeof(wchar_t), nullptr);
            }
            const HWND tool = (info.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(info.uId) : info.hwnd;
            const int id = GetDlgCtrlID(tool);
            tools.push_back(Json()
                                .Int("tooltip", HandleNumber(tip))
                                .Int("hwnd", HandleNumber(tool))
                                .Int("id", id)
                                .Str("name", ControlName(id))
                                .Bool("callback", callback)
                                .Str("text", Utf8(text.data()))
                                .Done());
        }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    Print(Json().Bool("found", true).Raw("tools", Array(tools)).Done());
    return 0;
}

// The screen centre of the launcher's visible button that reads `text`.
int Button(const std::wstring& text) {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    for (const HWND hwnd : Descendants(main)) {
        if (ClassOf(hwnd) != L"Button" || TextOf(hwnd) != text || !IsWindowVisible(hwnd)) continue;
        RECT r{};
        GetWindowRect(hwnd, &r);
        Print(Json()
                  .Bool("found", true)
                  .Int("x", (r.left + r.right) / 2)
                  .Int("y", (r.top + r.bottom) / 2)
                  .Bool("enabled", IsWindowEnabled(hwnd) != FALSE)
                  .Done());
        return 0;
    }
    Print(Json().Bool("found", false).Done());
    return 4;
}

// How long the main window takes to answer a message, `count` times
// `pause` ms apart: the longest wait, in milliseconds, and how many went
// unanswered within a second.
int Answers(int count, int pause) {
    const HWND main = FindMain();
    if (!main) {
        Print(NotFound());
        return 3;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double longest = 0;
    int unanswered = 0;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored)) ++unanswered;
        QueryPerformanceCounter(&end);
        longest = std::max(longest, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                        static_cast<double>(frequency.QuadPart));
        Sleep(static_cast<DWORD>(pause));
    }
    Print(Json().Bool("found", true).Int("longestMs", static_cast<long>(longest + 0.5)).Int("unanswered", unanswered).Done());
    return 0;
}

int Usage() {
    std::fputs("usage: uiprobe tree | model [W H] | windows | msgbox | press <id> | close | center <name> | tooltips"
               " | button <text> | answers <count> <pause-ms>\n",
               stderr);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"tree") return Tree();
    if (command == L"model") return Model(argc, argv);
    if (command == L"windows") return Windows();
    if (command == L"msgbox") return MsgBox();
    if (command == L"press" && argc >= 3) return Press(_wtoi(argv[2]));
    if (command == L"close") return Close();
    if (command == L"center" && argc >= 3) return Center(Utf8(argv[2]));
    if (command == L"tooltips") return Tooltips();
    if (command == L"button" && argc >= 3) return Button(argv[2]);
    if (command == L"answers" && argc >= 4) return Answers(_wtoi(argv[2]), _wtoi(argv[3]));
    return Usage();
}
