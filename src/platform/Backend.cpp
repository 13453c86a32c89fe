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

Backend* Install(Backend* backend) { return g_installed.exchange(backend, std::memory_order_acq_rel); }

}  // namespace vebackend
