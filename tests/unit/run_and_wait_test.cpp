#include "storage/run_and_wait.h"

#include <gtest/gtest.h>

#include "fakes/fake_event_pump.h"
#include "fakes/fake_processes.h"

namespace {

constexpr const char* kSpeechSetup = "E:\\\\Windows\\speech\\MSReaderSetupFRA.exe";

TEST(RunAndWait, HandsTheShellExactlyWhatItWasGiven) {
    FakeProcesses processes;
    FakeEventPump events;
    RunAndWait(processes, events, "E:\\Clé USB\\Windows\\speech\\MSReaderSetupFRA.exe", "/quiet", "%TEMP%", 5, 200);
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].file, "E:\\Clé USB\\Windows\\speech\\MSReaderSetupFRA.exe");
    EXPECT_EQ(processes.starts[0].parameters, "/quiet");
    EXPECT_EQ(processes.starts[0].folder, "%TEMP%");
    EXPECT_EQ(processes.starts[0].showCommand, 5);
}

TEST(RunAndWait, ProcessesEventsBetweenWaitsUntilTheProgramEndsThenGivesItsCode) {
    FakeProcesses processes;
    processes.runningWaits = 10;  // about two seconds at 200 ms
    processes.exitCode = 3010;
    FakeEventPump events;
    std::vector<std::size_t> waitsSeenByPump;
    events.onPump = [&] { waitsSeenByPump.push_back(processes.waits.size()); };

    EXPECT_EQ(RunAndWait(processes, events, kSpeechSetup, "", "", 5, 200), 3010);
    ASSERT_EQ(processes.waits.size(), 11u);
    for (const FakeProcesses::WaitCall& wait : processes.waits) {
        EXPECT_EQ(wait.process, processes.handle);
        EXPECT_EQ(wait.milliseconds, 200u);
    }
    // One pump after each timed-out wait, none after the last.
    EXPECT_EQ(waitsSeenByPump, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(processes.exitCodeReadFor, std::vector<Processes::Handle>{processes.handle});
    EXPECT_EQ(processes.closed, std::vector<Processes::Handle>{processes.handle});
}

TEST(RunAndWait, AQuitAskedDuringTheWaitStopsWaitingAndLeavesTheProgramRunning) {
    FakeProcesses processes;
    processes.runningWaits = 100;
    FakeEventPump events;
    events.onPump = [&] {
        if (events.pumped == 3) events.AskToQuit();
    };
    EXPECT_EQ(RunAndWait(processes, events, kSpeechSetup, "", "", 5, 200), 0);
    EXPECT_EQ(processes.waits.size(), 3u);
    EXPECT_TRUE(processes.exitCodeReadFor.empty());
    EXPECT_EQ(processes.closed, std::vector<Processes::Handle>{processes.handle});
}

TEST(RunAndWait, AProgramThatEndsAtOnceIsNotPumpedFor) {
    FakeProcesses processes;
    processes.exitCode = 0;
    FakeEventPump events;
    EXPECT_EQ(RunAndWait(processes, events, kSpeechSetup, "", "", 5, 200), 0);
    EXPECT_EQ(events.pumped, 0);
    EXPECT_EQ(processes.closed.size(), 1u);
}

TEST(RunAndWait, AFailedStartGivesTenAndWaitsForNothing) {
    FakeProcesses processes;
    processes.startSucceeds = false;
    FakeEventPump events;
    EXPECT_EQ(RunAndWait(processes, events, "E:\\Windows\\speech\\absent.exe", "", "", 5, 200), kRunAndWaitStartFailed);
    EXPECT_EQ(kRunAndWaitStartFailed, 10);
    EXPECT_TRUE(processes.waits.empty());
    EXPECT_TRUE(processes.closed.empty());
    EXPECT_EQ(events.pumped, 0);
}

TEST(RunAndWait, AStartWithoutAProcessGivesZero) {
    FakeProcesses processes;
    processes.handle = Processes::kNoProcess;
    FakeEventPump events;
    EXPECT_EQ(RunAndWait(processes, events, "E:\\Mes documents\\lisez-moi.txt", "", "", 5, 200), 0);
    EXPECT_TRUE(processes.waits.empty());
}

TEST(RunAndWait, AFailedWaitEndsTheLoopWithWhateverCodeCanBeRead) {
    FakeProcesses processes;
    processes.runningWaits = 2;
    processes.lastWait = Processes::Wait::kFailed;
    processes.exitCode = std::nullopt;
    FakeEventPump events;
    EXPECT_EQ(RunAndWait(processes, events, kSpeechSetup, "", "", 5, 200), 0);
    EXPECT_EQ(processes.waits.size(), 3u);
    EXPECT_EQ(events.pumped, 2);
    EXPECT_EQ(processes.closed.size(), 1u);
}

TEST(RunAndWait, ExitCodesKeepAllTheirBits) {
    FakeProcesses processes;
    processes.exitCode = 0xC0000005u;  // a crash
    FakeEventPump events;
    EXPECT_EQ(RunAndWait(processes, events, kSpeechSetup, "", "", 5, 200), static_cast<std::int32_t>(0xC0000005u));
}

TEST(RunAndWait, ANegativeIntervalDoesNotBecomeAnEndlessWait) {
    FakeProcesses processes;
    processes.runningWaits = 1;
    FakeEventPump events;
    RunAndWait(processes, events, kSpeechSetup, "", "", 5, -1);
    ASSERT_EQ(processes.waits.size(), 2u);
    EXPECT_EQ(processes.waits[0].milliseconds, 0u);
    EXPECT_EQ(events.pumped, 1);
}

}  // namespace
