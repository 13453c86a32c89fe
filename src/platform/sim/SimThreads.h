#pragma once
// The threads the sim starts for CreateThread, kept by their handles, and the tag that marks
// the events each of them records.
#include <cassert>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/WinTypes.h"

namespace vesim {

// A hold of the sim's one mutex; functions that take one run with that mutex held.
using SimLock = std::unique_lock<std::mutex>;

// Checks, in debug builds, that `held` holds `mutex`.
inline void AssertHeld([[maybe_unused]] const SimLock& held, [[maybe_unused]] const std::mutex& mutex) {
    assert(held.owns_lock() && held.mutex() == &mutex);
}

// 0 on a thread the sim did not start; n on the n-th thread it started (counted among the
// threads it still remembers).
int CurrentThreadTag();

// Not locked by itself: it belongs to the sim's state and is guarded by the sim's mutex, which
// every member is called with (the `held` lock) and which a thread takes to report its end.
// Every thread must have been waited for (WaitAll) before it is destroyed.
class SimThreads {
public:
    explicit SimThreads(std::mutex& simMutex) : m_mutex(simMutex) {}
    SimThreads(const SimThreads&) = delete;
    SimThreads& operator=(const SimThreads&) = delete;

    // While on, a thread started begins only once it is off again (or a wait for it begins), so
    // a caller can take the trace of what it did before the thread's calls start.
    void Hold(const SimLock& held, bool on);
    // Runs start(param) on a new thread known by `handle`.
    void Start(const SimLock& held, vewin::HANDLE handle, vewin::LPTHREAD_START_ROUTINE start, void* param);
    // Waits at most `milliseconds` for the thread of `handle` to end, with the mutex released
    // meanwhile; true when it ended or `handle` is no thread of ours.
    bool WaitFor(SimLock& held, vewin::HANDLE handle, vewin::DWORD milliseconds);
    // Closes the thread's handle; false when `handle` is no open thread handle.
    bool Close(const SimLock& held, vewin::HANDLE handle);
    // Waits until every thread started has ended (joining them with the mutex released), then
    // forgets those whose handle is closed, so a long run stays small.
    void WaitAll(SimLock& held);

private:
    struct Thread {
        bool held = false;    // started while the hold was on, and not let go since
        bool done = false;    // start(param) returned
        bool closed = false;  // its handle was closed
        std::thread thread;   // moved out to be joined
    };

    std::mutex& m_mutex;
    std::condition_variable m_ended;  // a thread set its `done`
    std::condition_variable m_released;  // a held thread was let go
    bool m_hold = false;
    std::map<vewin::HANDLE, std::shared_ptr<Thread>> m_threads;
};

}  // namespace vesim
