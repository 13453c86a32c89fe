#include "platform/sim/SimThreads.h"

#include <chrono>
#include <vector>

namespace vesim {

namespace {
thread_local int t_threadTag = 0;
}  // namespace

int CurrentThreadTag() { return t_threadTag; }

void SimThreads::Start(const SimLock& held, vewin::HANDLE handle, vewin::LPTHREAD_START_ROUTINE start, void* param) {
    AssertHeld(held, m_mutex);
    const int tag = static_cast<int>(m_threads.size()) + 1;
    auto entry = std::make_shared<Thread>();
    entry->held = m_hold;
    Thread* raw = entry.get();
    // The new thread's first call into the sim waits for the mutex, so it comes after
    // whatever the creating call records.
    raw->thread = std::thread([this, raw, start, param, tag] {
        t_threadTag = tag;
        {
            std::unique_lock lock(m_mutex);
            m_released.wait(lock, [raw] { return !raw->held; });
        }
        start(param);
        std::lock_guard lock(m_mutex);
        raw->done = true;
        m_ended.notify_all();
    });
    m_threads.emplace(handle, std::move(entry));
}

void SimThreads::Hold(const SimLock& held, bool on) {
    AssertHeld(held, m_mutex);
    m_hold = on;
    if (on) return;
    for (auto& [handle, thread] : m_threads) thread->held = false;
    m_released.notify_all();
}

bool SimThreads::WaitFor(SimLock& held, vewin::HANDLE handle, vewin::DWORD milliseconds) {
    AssertHeld(held, m_mutex);
    auto it = m_threads.find(handle);
    if (it == m_threads.end()) return true;
    std::shared_ptr<Thread> thread = it->second;  // stays valid should WaitAll forget it meanwhile
    // The awaited thread alone is let go: one the caller starts meanwhile stays held.
    thread->held = false;
    m_released.notify_all();
    return m_ended.wait_for(held, std::chrono::milliseconds(milliseconds), [&] { return thread->done; });
}

bool SimThreads::Close(const SimLock& held, vewin::HANDLE handle) {
    AssertHeld(held, m_mutex);
    auto it = m_threads.find(handle);
    if (it == m_threads.end() || it->second->closed) return false;
    it->second->closed = true;
    return true;
}

void SimThreads::WaitAll(SimLock& held) {
    AssertHeld(held, m_mutex);
    Hold(held, false);
    // A thread may start another, so joins repeat until none is left to join.
    for (;;) {
        std::vector<std::thread> running;
        for (auto& [handle, thread] : m_threads)
            if (thread->thread.joinable()) running.push_back(std::move(thread->thread));
        if (running.empty()) break;
        held.unlock();
        for (std::thread& thread : running) thread.join();
        held.lock();
    }
    // Threads that another caller took to join have ended once they are done.
    m_ended.wait(held, [&] {
        for (const auto& [handle, thread] : m_threads)
            if (!thread->done) return false;
        return true;
    });
    std::erase_if(m_threads, [](const auto& entry) { return entry.second->closed; });
}

}  // namespace vesim
