#include <mutex>

#include "host/DataDirectory.h"
#include "host/HostCallbacks.h"

namespace vehost {
namespace {
std::mutex g_mutex;
VeHostCallbacks g_callbacks{};
std::string g_dataDirectory;
}  // namespace

VeHostCallbacks Callbacks() {
    std::lock_guard lock(g_mutex);
    return g_callbacks;
}

void SetCallbacks(const VeHostCallbacks* callbacks) {
    std::lock_guard lock(g_mutex);
    g_callbacks = callbacks ? *callbacks : VeHostCallbacks{};
}

void SetDataDirectory(std::string utf8Directory) {
    std::lock_guard lock(g_mutex);
    g_dataDirectory = std::move(utf8Directory);
}

std::string DataPath(const std::string& fileName) {
    std::lock_guard lock(g_mutex);
    if (g_dataDirectory.empty()) return fileName;
    char last = g_dataDirectory.back();
    return g_dataDirectory + (last == '/' || last == '\\' ? "" : "/") + fileName;
}
}  // namespace vehost
