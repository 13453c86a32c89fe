#pragma once
// The host framework's UTF-16 string, with the members the library uses.
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char16_t* text) : m_str(text ? text : u"") {}
    CString(std::u16string text) : m_str(std::move(text)) {}
    CString(std::u16string_view text) : m_str(text) {}
    CString(const char16_t* text, int length) : m_str(text && length > 0 ? std::u16string(text, length) : u"") {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    // Out-of-range positions read as NUL rather than past the buffer.
    char16_t GetAt(int index) const;

    int Compare(const char16_t* other) const;
    int Compare(const CString& other) const { return Compare(other.GetString()); }
    // -1 when absent; a negative start counts as 0.
    int Find(const char16_t* sub, int start = 0) const;
    int Find(char16_t ch, int start = 0) const;
    int Find(const CString& sub, int start = 0) const { return Find(sub.GetString(), start); }
    int ReverseFind(char16_t ch) const;

    // Counts are clamped to the string, as the framework does.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    int Replace(const char16_t* oldText, const char16_t* newText);
    CString& Trim();
    CString& MakeLower();

    const char16_t* GetString() const { return m_str.c_str(); }
    operator const char16_t*() const { return m_str.c_str(); }
    const std::u16string& str() const { return m_str; }

    CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }
    CString& operator+=(const char16_t* other) { m_str += other; return *this; }
    CString& operator+=(char16_t ch) { m_str += ch; return *this; }

    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const char16_t* b) { a += b; return a; }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a) + b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_str == (b ? b : u""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    std::u16string m_str;
};
