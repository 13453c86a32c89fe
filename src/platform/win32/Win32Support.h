#pragma once
// Text helpers and the owners of the Windows handles and COM pointers of the win32 backend's
// services: every kind below is a policy of the one owner template, core/UniqueAny.h, and no
// other code of the backend frees a handle itself.
#include <windows.h>
#include <shellapi.h>
#include <objbase.h>
#include <oleauto.h>
#include <physicalmonitorenumerationapi.h>

#include <string>
#include <utility>
#include <vector>

#include "core/UniqueAny.h"

namespace vewin32 {

inline const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string U16(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// Ordinal comparison ignoring case, as Windows compares file and program names.
inline bool SameName(const std::u16string& a, const std::u16string& b) {
    return ::CompareStringOrdinal(W(a), static_cast<int>(a.size()), W(b), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// COM for the calling thread, apartment-threaded without OLE 1.0 DDE as the shell's calls require;
// a thread already in another apartment keeps it.
class ComScope {
public:
    ComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_hr;
};

// The shell's start of a file, URL or program, in a COM scope and finished before it returns
// (SEE_MASK_NOASYNC): the calling thread may be the online request's, which ends soon after,
// and the scope uninitialises COM. ShellStart answers as ShellExecuteW (above 32: started).
HINSTANCE ShellStart(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                       const wchar_t* directory, int show);
BOOL ShellStartEx(SHELLEXECUTEINFOW* info);

// --- System.cpp ---
// The image path of a process opened with PROCESS_QUERY_LIMITED_INFORMATION; empty when unknown.
std::u16string ProcessImage(HANDLE process);
// The integrity level (SECURITY_MANDATORY_*_RID) of a process: 0 for no such process, ~0 when
// Windows refuses to tell (a process of a higher level or a protected one).
DWORD IntegrityLevel(DWORD processId);

// --- The kinds of handle the win32 backend owns (the owner is core/UniqueAny.h) ---

// A kernel object: a process, thread or token. Null owns nothing.
using HandleTraits = vecore::NullTraits<HANDLE, ::CloseHandle>;
using UniqueHandle = vecore::UniqueAny<HandleTraits>;

// A file: CreateFileW fails with INVALID_HANDLE_VALUE, which is no handle to close either.
struct FileTraits : HandleTraits {
    static bool is_valid(type handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};
using UniqueFile = vecore::UniqueAny<FileTraits>;

// An event; its own kind so that it never passes for another kernel object.
struct EventTraits : HandleTraits {};
using UniqueEvent = vecore::UniqueAny<EventTraits>;

using UniqueRegKey = vecore::UniqueAny<vecore::NullTraits<HKEY, ::RegCloseKey>>;

// Memory the shell allocated for the caller (SHGetKnownFolderPath's path).
using UniqueCoTaskMemString = vecore::UniqueAny<vecore::NullTraits<wchar_t*, ::CoTaskMemFree>>;

// One reference to a COM object.
template <typename T>
struct ComTraits {
    using type = T*;
    static type invalid() noexcept { return nullptr; }
    static void close(type object) noexcept { object->Release(); }
};
template <typename T>
using UniqueCom = vecore::UniqueAny<ComTraits<T>>;

using UniqueBstr = vecore::UniqueAny<vecore::NullTraits<BSTR, ::SysFreeString>>;

// A VARIANT held by value: an empty one (VT_EMPTY) owns nothing, and a moved-from one is empty.
struct VariantTraits {
    using type = VARIANT;
    static type invalid() noexcept {
        VARIANT empty{};
        ::VariantInit(&empty);
        return empty;
    }
    static bool is_valid(const type& value) noexcept { return value.vt != VT_EMPTY; }
    static void close(type& value) noexcept { ::VariantClear(&value); }
};
using UniqueVariant = vecore::UniqueAny<VariantTraits>;

// The physical monitors of one display, destroyed together.
struct PhysicalMonitorsTraits {
    using type = std::vector<PHYSICAL_MONITOR>;
    static type invalid() noexcept { return {}; }
    static bool is_valid(const type& monitors) noexcept { return !monitors.empty(); }
    static void close(type& monitors) noexcept {
        ::DestroyPhysicalMonitors(static_cast<DWORD>(monitors.size()), monitors.data());
    }
};
using UniquePhysicalMonitors = vecore::UniqueAny<PhysicalMonitorsTraits>;

// An icon the shell made for the library (SHGetFileInfoW).
using UniqueIcon = vecore::UniqueAny<vecore::NullTraits<HICON, ::DestroyIcon>>;

}  // namespace vewin32
