// The simulated desktop itself: the threads it starts (their handles, waits and tags), calls
// from several threads at once (each call sees, changes and records the state in one step),
// and its settings.
#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"

using namespace vetest;

namespace {

using vesim::SimDesktop;
using vesim::TraceEvent;
using vewin::DWORD;
using vewin::HANDLE;

constexpr DWORD kWaitObject0 = 0;
constexpr DWORD kWaitTimeout = 0x102;
constexpr DWORD kLongWait = 60000;

long long Number(const void* handle) { return static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)); }

// ---------------------------------------------------------------- threads

// A thread that records a Tray once it is let go, then a few more calls.
struct Gate {
    SimDesktop* sim;
    std::atomic<bool> open{false};
};

DWORD WINAPI AfterTheGate(void* param) {
    auto* gate = static_cast<Gate*>(param);
    while (!gate->open) std::this_thread::yield();
    for (int i = 0; i < 100; ++i) gate->sim->Sleep(1);
    gate->sim->Tray(u"done", VeTray_Show);
    return 0;
}

DWORD WINAPI Nothing(void*) { return 0; }

TEST(SimThreads, AWaitEndsWithTheThreadOrTimesOutAndLetsTheThreadRecordMeanwhile) {
    SimDesktop sim;
    Gate gate{&sim};
    DWORD id = 0;
    HANDLE thread = sim.CreateThread(&AfterTheGate, &gate, &id);
    EXPECT_EQ(Number(thread), 0x104);
    EXPECT_EQ(id, 0x104u);
    EXPECT_EQ(sim.WaitForSingleObject(thread, 10), kWaitTimeout);
    gate.open = true;
    // The wait lets go of the sim, or the thread could not record and this would never end.
    EXPECT_EQ(sim.WaitForSingleObject(thread, kLongWait), kWaitObject0);
    EXPECT_EQ(sim.WaitForSingleObject(reinterpret_cast<HANDLE>(0x999), 0), kWaitObject0);  // no thread of ours

    const auto trace = sim.Trace();
    ASSERT_EQ(trace.size(), 105u);
    EXPECT_EQ(trace[0].ToReadable(), "CreateThread(260)");
    EXPECT_EQ(trace[1].ToReadable(), "WaitForSingleObject(260, 10) -> 258");
    for (size_t i = 2; i < 102; ++i) EXPECT_EQ(trace[i].ToReadable(), "[thread 1] Sleep(1)") << i;
    EXPECT_EQ(trace[102].ToReadable(), "[thread 1] VeUI::Tray(\"done\", 1)");
    EXPECT_EQ(trace[103].ToReadable(), "WaitForSingleObject(260, 60000) -> 0");
    EXPECT_EQ(sim.Clock(), 100u);
    sim.WaitForThreads();
}

TEST(SimThreads, AHandleClosesOnceAndAClosedEndedThreadIsForgotten) {
    SimDesktop sim;
    HANDLE first = sim.CreateThread(&Nothing, nullptr, nullptr);
    EXPECT_EQ(sim.CloseHandle(first), 1);
    EXPECT_EQ(sim.CloseHandle(first), 0);
    sim.WaitForThreads();
    // Forgotten: the next thread is thread 1 again (each CLI line's worker is "thread 1").
    Gate gate{&sim, true};
    HANDLE second = sim.CreateThread(&AfterTheGate, &gate, nullptr);
    sim.WaitForThreads();
    EXPECT_EQ(sim.Trace().back().ToReadable(), "[thread 1] VeUI::Tray(\"done\", 1)");
    // Not closed: still known, so the next one is thread 2.
    HANDLE third = sim.CreateThread(&AfterTheGate, &gate, nullptr);
    sim.WaitForThreads();
    EXPECT_EQ(sim.Trace().back().ToReadable(), "[thread 2] VeUI::Tray(\"done\", 1)");
    EXPECT_EQ(Number(second), 0x108);
    EXPECT_EQ(Number(third), 0x10C);
    EXPECT_EQ(sim.CloseHandle(second), 1);
    EXPECT_EQ(sim.CloseHandle(third), 1);
}

// ---------------------------------------------------------------- handles in the trace

// Handles and pointers read the same on 32 and 64 bits: pointer-sized values are sign-extended,
// so the pseudo-handles are negative everywhere and small handle numbers stay as they are.
TEST(SimTrace, HandlesReadTheSameOnEveryArchitecture) {
    SimDesktop sim;
    HANDLE self = sim.GetCurrentProcess();
    EXPECT_EQ(Number(self), -1);
    vewin::BOOL wow64 = 1;
    EXPECT_EQ(sim.IsWow64Process(self, &wow64), 1);
    sim.MsgWaitForSingleObject(reinterpret_cast<HANDLE>(0x104), 0);
    sim.CloseHandle(reinterpret_cast<HANDLE>(~std::uintptr_t{1}));  // (HANDLE)-2, the current thread
    sim.Log_HICON(u"x", reinterpret_cast<vewin::HICON>(~std::uintptr_t{0x0F}));

    const auto trace = sim.Trace();
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[0].ToReadable(), "GetCurrentProcess() -> -1");
    EXPECT_EQ(trace[1].ToReadable(), "IsWow64Process(-1) -> false");
    EXPECT_EQ(trace[1].ToJson(), R"({"call":"IsWow64Process","args":[-1],"result":false})");
    EXPECT_EQ(trace[2].ToReadable(), "MsgWaitForSingleObject(260, 0) -> 0");  // no thread of ours: signalled
    EXPECT_EQ(trace[3].ToReadable(), "CloseHandle(-2) -> 0");
    EXPECT_EQ(trace[4].ToReadable(), "VeUI::Log_HICON(\"x\", -16)");
}

// ---------------------------------------------------------------- calls from several threads

constexpr int kRounds = 20;

struct Race {
    SimDesktop* sim;
    std::atomic<int>* ready;
    vewin::BYTE key;
};

// Volume steps, key presses, pauses and a window lookup, as fast as they come.
DWORD WINAPI Busy(void* param) {
    auto* race = static_cast<Race*>(param);
    ++*race->ready;
    while (*race->ready < 3) std::this_thread::yield();
    for (int i = 0; i < kRounds; ++i) {
        race->sim->SetVolume(200, false);
        race->sim->keybd_event(race->key, 0, 0, 0);
        race->sim->FindWindowW(nullptr, u"记事本");
        race->sim->Sleep(1);
        race->sim->keybd_event(race->key, 0, vewin::KEYEVENTF_KEYUP, 0);
    }
    return 0;
}

TEST(SimThreads, CallsFromSeveralThreadsEachSeeChangeAndRecordTheStateInOneStep) {
    vesim::SimState state;
    state.volume = 0;
    state.windows = {{"记事本", 42}};
    SimDesktop sim(state);
    std::atomic<int> ready{0};
    Race a{&sim, &ready, 'A'}, b{&sim, &ready, 'B'};
    HANDLE threads[] = {sim.CreateThread(&Busy, &a, nullptr), sim.CreateThread(&Busy, &b, nullptr)};
    // The host thread takes part too, and ends the window's process in the middle of it.
    ++ready;
    while (ready < 3) std::this_thread::yield();
    for (int i = 0; i < kRounds / 2; ++i) sim.SetVolume(200, false);
    HANDLE process = sim.OpenProcess(1, 0, 42);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(sim.TerminateProcess(process, 0), 1);
    for (int i = 0; i < kRounds / 2; ++i) sim.SetVolume(200, false);
    for (HANDLE thread : threads) EXPECT_EQ(sim.WaitForSingleObject(thread, kLongWait), kWaitObject0);
    sim.WaitForThreads();

    // Each step shows in the trace in the order it changed the volume: 10, 20, ... 100.
    int expected = 0, lookups = 0;
    bool terminated = false;
    for (const TraceEvent& e : sim.Trace()) {
        if (e.call == "CEnvironmentMonitor::SetVolume") {
            expected = std::min(100, expected + 10);
            EXPECT_EQ(e.result->number, expected);
        } else if (e.call == "TerminateProcess") {
            terminated = true;
        } else if (e.call == "FindWindowW") {
            ++lookups;
            EXPECT_EQ(e.result->number, terminated ? 0 : 42 << 4) << "lookup " << lookups;  // gone once ended
        }
    }
    EXPECT_EQ(expected, 100);
    EXPECT_EQ(lookups, 2 * kRounds);
    EXPECT_EQ(sim.Clock(), static_cast<unsigned long long>(2 * kRounds));
    EXPECT_TRUE(sim.HeldKeys().empty());
    EXPECT_EQ(sim.State().volume, 100);
    EXPECT_TRUE(sim.State().windows.empty());
}

// ---------------------------------------------------------------- settings

TEST(SimSettings, ApplyAllOrNothing) {
    SimDesktop sim;
    std::string error;
    ASSERT_TRUE(sim.Configure(R"({"brightness":200,"volume":30,"windows":{"记事本":42},"startErrors":{"calc":740},
                                  "integrity":{"42":12288},"processImages":{"42":"C:\\n.exe"},"hiddenWindows":["IME"],
                                  "programs":["微信"],"confidence":{"关机":60},"foreground":"Word","yesNo":false})",
                              error))
        << error;
    const vesim::SimState& s = sim.State();
    EXPECT_EQ(s.brightness, 200);
    EXPECT_EQ(s.volume, 30);
    EXPECT_EQ(s.windows.at("记事本"), 42u);
    EXPECT_EQ(s.startErrors.at("calc"), 740u);
    EXPECT_EQ(s.integrityLevels.at(42), 0x3000u);
    EXPECT_EQ(s.processImages.at(42), "C:\\n.exe");
    EXPECT_EQ(s.hiddenWindows.count("IME"), 1u);
    EXPECT_EQ(s.programs.count("微信"), 1u);
    EXPECT_EQ(s.confidence.at("关机"), 60);
    EXPECT_EQ(s.foregroundTitle, "Word");
    EXPECT_FALSE(s.yesNoAnswer);

    const struct { const char* json; const char* error; } bad[] = {
        {R"({"volume":10,"bogus":1})", "unknown sim setting \"bogus\""},
        {R"({"volume":10,"brightness":"high"})", "sim setting \"brightness\" has the wrong type"},
        {R"({"volume":10,"windows":{"记事本":-1}})", "sim setting \"windows\" has the wrong type"},
        {R"({"volume":10,"programs":["微信",1]})", "sim setting \"programs\" has the wrong type"},
        {R"({"volume":10,"integrity":{"x42":8192}})", "sim setting \"integrity\" has the wrong type"},
        {R"([{"volume":10}])", "sim settings must be a JSON object"},
        {R"({"volume":10)", "sim settings must be a JSON object"},
    };
    for (const auto& c : bad) {
        error.clear();
        EXPECT_FALSE(sim.Configure(c.json, error)) << c.json;
        EXPECT_EQ(error, c.error) << c.json;
        EXPECT_EQ(s.volume, 30) << c.json;  // nothing of a refused object applies
        EXPECT_EQ(s.windows.at("记事本"), 42u) << c.json;
        EXPECT_EQ(s.programs.count("微信"), 1u) << c.json;
    }
    EXPECT_TRUE(sim.Trace().empty());
}

}  // namespace
