#include "platform/Diagnostic.h"

#include <atomic>

#include "platform/TextCodec.h"
#include "platform/Win32Api.h"

namespace vediag {

namespace {
std::atomic<Sink> g_sink{nullptr};
thread_local std::string t_lastError;
}  // namespace

void Report(Level level, std::u16string_view message) {
    std::u16string line = u"VeScene: ";
    line.append(message);
    vewin::OutputDebugStringW(line.c_str());
    if (level != Level::info) Fail(message);
    if (Sink sink = g_sink.load()) sink(level, message);
}

void SetSink(Sink sink) { g_sink.store(sink); }

void Fail(std::u16string_view message) {
    try {
        t_lastError = textcodec::Utf16ToUtf8(message);
    } catch (...) {
        t_lastError.clear();  // out of memory: an empty message beats none at all
    }
}

void ClearLastError() { t_lastError.clear(); }

const std::string& LastError() { return t_lastError; }

}  // namespace vediag
