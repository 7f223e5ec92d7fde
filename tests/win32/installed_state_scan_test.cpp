#include "drive/installed_state_scan.h"

#include <windows.h>

#include <shellapi.h>

#include <set>

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "window/window_layout.h"

namespace {

// The scan on real folders of a key whose path holds an accent and a space.
TEST(Win32InstalledStateScan, ReadsTheDriveAsTheInstalledTestSays) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    CreateDirectoryW(temp, nullptr);  // a new prefix names its temporary folder before making it
    const std::string app = Narrow(temp) + "Clé scan " + std::to_string(GetCurrentProcessId());
    const auto folder = [&](const std::string& relative) {
        std::string path = app;
        for (std::size_t at = 0; at < relative.size();) {
            const std::size_t next = relative.find('\\', at + 1);
            path += relative.substr(at, next - at);
            CreateDirectoryW(Widen(path).c_str(), nullptr);
            at = next;
        }
    };
    const auto file = [&](const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        folder(relative.substr(0, relative.rfind('\\')));
        CloseHandle(CreateFileW(Widen(app + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                                nullptr));
        SetFileAttributesW(Widen(app + relative).c_str(), attributes);
    };
    CreateDirectoryW(Widen(app).c_str(), nullptr);
    folder("\\Musique\\VLC");                                           // empty
    file("\\Musique\\Audacity\\plugins\\a.dll");                        // only a sub-folder
    file("\\Util\\Firefox\\desktop.ini", FILE_ATTRIBUTE_SYSTEM);         // only a system file
    file("\\Util\\7-zip\\cache", FILE_ATTRIBUTE_HIDDEN);                // only a hidden file
    file("\\Musique\\MuseScore\\bin\\mscore.exe");                      // the second folder
    file("\\Cantarel\\Quiz\\audio\\chopin\\a.wav");                     // a topic without the quiz
    file("\\cantarel\\bullaro\\bullaro.exe");                           // another case
    file("\\Cantarel\\Solfège\\Csolfege.exe");

    Form1 form = BuildDesignForm1();
    Win32FileSystem files;
    RefreshInstalledState(form, app, files);

    const std::set<std::string> installed{"7zip", "musescore", "chopin", "bullaro", "solfege"};
    for (const Component& c : AllComponents()) {
        const bool removable = form.Get(RemovalLabelName(c)).enabled;
        EXPECT_EQ(removable, installed.count(std::string(c.id)) == 1) << c.id;
        EXPECT_NE(removable, form.Get(DownloadLabelName(c)).enabled) << c.id;
    }
    EXPECT_FALSE(form.Get("Picture_quiz").visible);
    EXPECT_EQ(form.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");

    // The tree is the test's own: delete it whatever its attributes.
    SHFILEOPSTRUCTW remove{};
    std::wstring from = Widen(app) + L'\0';
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationW(&remove);
}

}  // namespace
