// Stand-in program of the demo drive.
//
// The demo drive carries no real third-party or suite software: every program
// the launcher can start is a copy of this executable under the program's own
// file name. Started, it names the program it replaces (from its file name)
// in a small message box. For tests, when CANTAREL_STANDIN_LOG names a folder,
// it first appends one line to "standin.log" there:
//
//     <full path of the executable> TAB <command line> TAB <working folder> CRLF
//
// in UTF-8, written with a single append so that copies started at the same
// moment do not mix their lines. When CANTAREL_STANDIN_NO_WINDOW is set it
// ends right after logging, so that a caller waiting for it (an installer run
// to its end) is not held up by the box.

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct KnownProgram {
    const wchar_t* fileBase;  // file name without ".exe", lower case
    const wchar_t* name;      // what the user knows it as
};

// File names of the demo drive and of the download server's installers.
// Anything else is shown under its own file name.
constexpr KnownProgram kKnown[] = {
    {L"vlc", L"VLC"},
    {L"audacity", L"Audacity"},
    {L"7zfm", L"7-Zip"},
    {L"firefoxportable", L"Firefox"},
    {L"thunderbirdportable", L"Thunderbird"},
    {L"libreofficeportable", L"LibreOffice"},
    {L"sumatrapdf", L"SumatraPDF"},
    {L"aria", L"Aria Maestosa"},
    {L"atunes", L"aTunes"},
    {L"cdexportable", L"CDex"},
    {L"cdex", L"CDex"},
    {L"gnu solfege.cameyo", L"GNU Solfege"},
    {L"x-solfege", L"GNU Solfege"},
    {L"hydrogen", L"Hydrogen"},
    {L"infrarecorder", L"InfraRecorder"},
    {L"musescoreportable", L"MuseScore"},
    {L"mscore", L"MuseScore"},
    {L"tuxguitar", L"TuxGuitar"},
    {L"csolfege", L"Cantarel Solfège"},
    {L"quadrelo", L"Quadrelo"},
    {L"mquadfr", L"Mini Quadrelo"},
    {L"cinstr", L"Symphalis"},
    {L"bullaro", L"Bullaro"},
    {L"cantarel", L"Cantarel (métronome virtuel)"},
    {L"tonavel", L"Tonavel"},
    {L"maestrel", L"Maestrel"},
    {L"clavira", L"Clavira"},
    {L"cquiz3", L"Cantarel Quiz"},
    {L"pulsaro", L"Pulsaro"},
    {L"enregistrement_dll_ocx", L"Enregistrement des DLL et OCX"},
    {L"dotnetfx35", L"Installation du Framework .NET 3.5"},
    {L"dotnetfx40_full_x86_x64", L"Installation du Framework .NET 4"},
    {L"java", L"Installation de Java"},
    {L"dao35", L"Installation de DAO 3.5"},
    {L"msreadersetupfra", L"Installation de Microsoft Reader"},
    {L"readerttsinstallfra", L"Installation de la voix française"},
    {L"cantarelportable", L"Cantarel Portable (nouvelle version)"},
};

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// "C:\x\dotnetfx35.exe.exe" -> "dotnetfx35": the gate saves one installer
// with a doubled extension, and it stands for the same program.
std::wstring FileBase(const std::wstring& path) {
    std::wstring base = path.substr(path.find_last_of(L"\\/") + 1);
    for (;;) {
        size_t dot = base.find_last_of(L'.');
        if (dot == std::wstring::npos || dot == 0) break;
        std::wstring ext = base.substr(dot);
        CharLowerBuffW(ext.data(), static_cast<DWORD>(ext.size()));
        if (ext != L".exe") break;
        base.resize(dot);
    }
    return base;
}

std::wstring DisplayName(const std::wstring& base) {
    std::wstring lower = base;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    for (const KnownProgram& k : kKnown) {
        if (lower == k.fileBase) return k.name;
    }
    return base;
}

std::wstring Environment(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    return value;
}

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    n = GetCurrentDirectoryW(n, dir.data());
    dir.resize(n);
    return dir;
}

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

void AppendToLog(const std::wstring& folder, const std::wstring& exe, const std::wstring& cmd) {
    std::wstring file = folder;
    if (!file.empty() && file.back() != L'\\' && file.back() != L'/') file += L'\\';
    file += L"standin.log";
    HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;  // a test that wants the log sees it missing
    std::string line = Utf8(exe) + "\t" + Utf8(cmd) + "\t" + Utf8(CurrentFolder()) + "\r\n";
    DWORD written = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(h);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring exe = ModulePath();
    const std::wstring cmd = GetCommandLineW();

    const std::wstring logFolder = Environment(L"CANTAREL_STANDIN_LOG");
    if (!logFolder.empty()) AppendToLog(logFolder, exe, cmd);
    if (!Environment(L"CANTAREL_STANDIN_NO_WINDOW").empty()) return 0;

    const std::wstring title = DisplayName(FileBase(exe)) + L" (programme de démonstration)";
    const std::wstring text =
        L"Ce programme tient la place de « " + DisplayName(FileBase(exe)) +
        L" » sur la clé de démonstration de Cantarel Portable.\r\n\r\n"
        L"Fichier : " + exe + L"\r\n"
        L"Ligne de commande : " + cmd;
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    return 0;
}
