#include "storage/run_and_wait.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_processes.h"

namespace {

// The real service, remembering the last process it started so that a test
// can end it from inside the wait.
class WatchedProcesses : public Processes {
public:
    std::optional<Handle> StartThroughShell(const ShellStart& start) override {
        const std::optional<Handle> started = real_.StartThroughShell(start);
        if (started) last = *started;
        return started;
    }
    Wait WaitForEnd(Handle process, std::uint32_t milliseconds) override {
        ++waits;
        return real_.WaitForEnd(process, milliseconds);
    }
    std::optional<std::uint32_t> ExitCode(Handle process) override { return real_.ExitCode(process); }
    bool StartCommandLine(std::string_view commandLine, int showCommand, std::string_view workingFolder) override {
        return real_.StartCommandLine(commandLine, showCommand, workingFolder);
    }
    void Close(Handle process) override {
        closed = true;
        real_.Close(process);
    }

    Handle last = kNoProcess;
    int waits = 0;
    bool closed = false;

private:
    Win32Processes real_;
};

// A window of the test's own that counts what reaches it and, on
// kEndChild, ends the child that RunAndWait is waiting for.
constexpr UINT kPing = WM_APP + 1;
constexpr UINT kEndChild = WM_APP + 2;
int pings = 0;
WatchedProcesses* watched = nullptr;
bool childRunningWhenEnded = false;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPing) {
        ++pings;
        return 0;
    }
    if (message == kEndChild) {
        HANDLE child = reinterpret_cast<HANDLE>(watched->last);
        childRunningWhenEnded = WaitForSingleObject(child, 0) == WAIT_TIMEOUT;
        TerminateProcess(child, 7);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class Win32RunAndWaitTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CantarelRunAndWaitTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(L"CantarelRunAndWaitTest", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        pings = 0;
        watched = &processes_;
        childRunningWhenEnded = false;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = Narrow(temp) + "Clé USB programme " + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Widen(folder_).c_str(), nullptr);
    }
    void TearDown() override {
        // Never leave a child behind, whatever happened.
        if (processes_.last != Processes::kNoProcess && !processes_.closed) {
            TerminateProcess(reinterpret_cast<HANDLE>(processes_.last), 1);
        }
        DestroyWindow(window_);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        DeleteFileW(Widen(folder_ + "\\partition é.txt").c_str());
        RemoveDirectoryW(Widen(folder_).c_str());
    }

    HWND window_ = nullptr;
    std::string folder_;
    WatchedProcesses processes_;
    Win32EventPump events_;
};

TEST_F(Win32RunAndWaitTest, GivesTheExitCodeOfTheProgram) {
    EXPECT_EQ(RunAndWait(processes_, events_, "cmd.exe", "/c exit 3", "", SW_HIDE, 200), 3);
    EXPECT_TRUE(processes_.closed);
    // Environment variables in the file are expanded.
    EXPECT_EQ(RunAndWait(processes_, events_, "%SystemRoot%\\system32\\cmd.exe", "/c exit 0", "", SW_HIDE, 200), 0);
}

TEST_F(Win32RunAndWaitTest, RunsInTheGivenFolderWithAccentsAndSpaces) {
    HANDLE file = CreateFileW(Widen(folder_ + "\\partition é.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(RunAndWait(processes_, events_, "cmd.exe", "/c if exist \"partition é.txt\" (exit 5) else (exit 6)",
                         folder_, SW_HIDE, 200),
              5);
}

TEST_F(Win32RunAndWaitTest, AMissingProgramGivesTenWithoutABoxOrAProcess) {
    EXPECT_EQ(RunAndWait(processes_, events_, folder_ + "\\Windows\\speech\\MSReaderSetupFRA.exe", "", "", SW_SHOW, 200),
              10);
    EXPECT_EQ(RunAndWait(processes_, events_, "Q:\\Nulle part\\absent.exe", "", "", SW_SHOW, 200), 10);
    EXPECT_EQ(processes_.last, Processes::kNoProcess);
    EXPECT_EQ(processes_.waits, 0);
}

TEST_F(Win32RunAndWaitTest, TheWindowIsServedWhileTheProgramRuns) {
    // Queued before the start: only the pump inside the wait can deliver
    // them, and the second one ends the child from there. The child is a
    // window program: a console one ended from outside leaves Wine's console
    // host running, holding the test's output open.
    PostMessageW(window_, kPing, 0, 0);
    PostMessageW(window_, kEndChild, 0, 0);
    const std::int32_t code =
        RunAndWait(processes_, events_, "notepad.exe", "", "", SW_HIDE, 50);
    EXPECT_EQ(pings, 1);
    EXPECT_TRUE(childRunningWhenEnded);
    EXPECT_EQ(code, 7);
    EXPECT_GE(processes_.waits, 2);
}

TEST_F(Win32RunAndWaitTest, AQuitRequestDuringTheRunIsLeftForTheMainLoop) {
    PostQuitMessage(4);
    PostMessageW(window_, kEndChild, 0, 0);
    const std::int32_t code =
        RunAndWait(processes_, events_, "notepad.exe", "", "", SW_HIDE, 50);
    EXPECT_EQ(code, 7);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 4u);
}

TEST(Win32EventPump, DispatchesWhatIsPendingAndReturns) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CantarelEventPumpTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"CantarelEventPumpTest", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    pings = 0;
    Win32EventPump events;
    events.ProcessPendingEvents();  // nothing pending: returns at once
    for (int i = 0; i < 3; ++i) PostMessageW(window, kPing, 0, 0);
    events.ProcessPendingEvents();
    EXPECT_EQ(pings, 3);

    PostMessageW(window, kPing, 0, 0);
    PostQuitMessage(9);
    events.ProcessPendingEvents();
    EXPECT_EQ(pings, 4);
    events.ProcessPendingEvents();  // the quit request stays, however often the pump runs
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 9u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(window);
}

}  // namespace
