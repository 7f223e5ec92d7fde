// The input box the extraction asks its password with, driven from a second
// thread the way a user would answer it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dialogs.h"

namespace {

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// Waits for the box titled `title` on the thread that runs the test, hands it
// to `answer`, and gives up quietly when none appears (a first start of a
// prefix can take many seconds to show a window).
std::thread Answer(const std::wstring& title, std::function<void(HWND)> answer) {
    return std::thread([title, answer] {
        for (int attempt = 0; attempt < 12000; ++attempt) {
            HWND box = FindWindowW(L"#32770", title.c_str());
            if (box != nullptr && IsWindowVisible(box)) {
                answer(box);
                return;
            }
            Sleep(5);
        }
    });
}

// The controls of the box, found by their class and order rather than ids.
struct BoxControls {
    HWND prompt = nullptr, edit = nullptr, ok = nullptr, cancel = nullptr;
};
BoxControls Controls(HWND box) {
    BoxControls c;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (_wcsicmp(cls, L"Static") == 0) c.prompt = child;
        if (_wcsicmp(cls, L"Edit") == 0) c.edit = child;
        if (_wcsicmp(cls, L"Button") == 0) (c.ok ? c.cancel : c.ok) = child;
    }
    return c;
}

TEST(PasswordBox, ShowsPromptAndApplicationTitleAndReturnsTheTypedText) {
    Win32Dialogs dialogs;
    std::wstring prompt, okLabel, cancelLabel;
    std::thread user = Answer(L"Cantarel Portable", [&](HWND box) {
        const BoxControls c = Controls(box);
        prompt = Text(c.prompt);
        okLabel = Text(c.ok);
        cancelLabel = Text(c.cancel);
        SetWindowTextW(c.edit, L"clé secrète");
        SendMessageW(c.ok, BM_CLICK, 0, 0);
    });
    const std::optional<std::string> answer = dialogs.Input("Please Enter The Password!", "");
    user.join();
    EXPECT_EQ(answer, "clé secrète");
    EXPECT_EQ(Narrow(prompt), "Please Enter The Password!");
    EXPECT_EQ(Narrow(okLabel), "OK");
    EXPECT_EQ(Narrow(cancelLabel), "Annuler");
}

TEST(PasswordBox, CancelAndCloseGiveNothingAnEmptyOkGivesEmptyText) {
    Win32Dialogs dialogs;
    std::thread cancel = Answer(L"Mot de passe", [](HWND box) {
        const BoxControls c = Controls(box);
        SetWindowTextW(c.edit, L"tapé puis annulé");
        SendMessageW(c.cancel, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialogs.Input("Invite", "Mot de passe"), std::nullopt);
    cancel.join();

    std::thread close = Answer(L"Mot de passe", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialogs.Input("Invite", "Mot de passe"), std::nullopt);
    close.join();

    std::thread empty = Answer(L"Mot de passe", [](HWND box) { SendMessageW(Controls(box).ok, BM_CLICK, 0, 0); });
    EXPECT_EQ(dialogs.Input("Invite", "Mot de passe"), std::string());
    empty.join();
}

TEST(PasswordBox, EnterInTheEditBoxAnswersOk) {
    Win32Dialogs dialogs;
    std::thread user = Answer(L"Cantarel Portable", [](HWND box) {
        const BoxControls c = Controls(box);
        SetWindowTextW(c.edit, L"entrée");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(dialogs.Input("Please Enter The Password!", ""), "entrée");
    user.join();
}

}  // namespace
