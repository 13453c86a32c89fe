#include "platform/Backend.h"

#include <atomic>

namespace vebackend {

Backend& DefaultBackend();  // sim on Linux, win32 on Windows

namespace {
std::atomic<Backend*> g_installed{nullptr};
}

Backend& Current() {
    Backend* installed = g_installed.load(std::memory_order_acquire);
    return installed ? *installed : DefaultBackend();
}

void Install(Backend* backend) { g_installed.store(backend, std::memory_order_release); }

}  // namespace vebackend
