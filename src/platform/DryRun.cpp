#include "platform/DryRun.h"

#include <atomic>

#include "platform/Diagnostic.h"

namespace vedryrun {

namespace {
std::atomic<const char16_t*> g_label{nullptr};  // a literal: never freed
}

void Set(const char16_t* label) { g_label.store(label); }

bool Active() { return g_label.load() != nullptr; }

bool Skip(std::u16string_view action) {
    const char16_t* label = g_label.load();
    if (!label) return false;
    std::u16string line = label;
    line += u": ";
    line.append(action);
    vediag::Report(vediag::Level::info, line);
    return true;
}

}  // namespace vedryrun
