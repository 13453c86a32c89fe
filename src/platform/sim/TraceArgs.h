#pragma once
// How the sim shows the arguments and answers of the calls it records: numbers, flags,
// pointers and handles as numbers, and every kind of text as UTF-8.
#include <cstdint>
#include <string>

#include "core/CString.h"
#include "platform/TextCodec.h"
#include "platform/sim/Trace.h"

namespace vesim::traced {

inline TraceValue Num(long long n) { return TraceValue::Num(n); }
inline TraceValue Flag(bool b) { return TraceValue::Bool(b); }
// Pointer-sized values are sign-extended, so a trace reads the same on 32 and 64 bits: the
// pseudo-handle (HANDLE)-1 is -1 on both, small handle numbers (260) stay as they are.
inline TraceValue Ptr(const void* p) {
    return TraceValue::Num(static_cast<long long>(reinterpret_cast<std::intptr_t>(p)));
}
inline std::string Utf8(const char16_t* text) { return text ? textcodec::Utf16ToUtf8(text) : std::string(); }
inline std::string Utf8(const CString& text) { return textcodec::Utf16ToUtf8(text.str()); }
inline TraceValue WideOrNull(const char16_t* text) { return text ? TraceValue::Text(Utf8(text)) : TraceValue::Null(); }
inline TraceValue Text(const CString& text) { return TraceValue::Text(Utf8(text)); }
inline TraceValue Gbk(const std::string& gbkText) { return TraceValue::Text(textcodec::GbkToUtf8(gbkText)); }

// An answer taken from the state, shown as its type shows.
inline TraceValue Answer(bool b) { return Flag(b); }
inline TraceValue Answer(int n) { return Num(n); }
inline TraceValue Answer(const std::string& utf8) { return TraceValue::Text(utf8); }

}  // namespace vesim::traced
