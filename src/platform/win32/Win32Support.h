#pragma once
// Owners for the Windows handles and COM pointers of the win32 backend's services.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <utility>

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

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_ptr; }
    T* Get() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    T** Put() {
        Reset();
        return &m_ptr;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (m_ptr) m_ptr->Release();
        m_ptr = nullptr;
    }

private:
    T* m_ptr = nullptr;
};

// COM for the calling thread; a thread already in another apartment keeps it.
class ComScope {
public:
    ComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_hr;
};

// A handle with its own closing function.
template <typename H, auto Close, H Invalid = H{}>
class Owned {
public:
    Owned() = default;
    explicit Owned(H handle) : m_handle(handle) {}
    ~Owned() {
        if (m_handle != Invalid) Close(m_handle);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    H Get() const { return m_handle; }
    H* Put() { return &m_handle; }
    explicit operator bool() const { return m_handle != Invalid; }

private:
    H m_handle = Invalid;
};

using Handle = Owned<HANDLE, ::CloseHandle>;
using RegKey = Owned<HKEY, ::RegCloseKey>;
using CoText = Owned<wchar_t*, ::CoTaskMemFree>;

}  // namespace vewin32
