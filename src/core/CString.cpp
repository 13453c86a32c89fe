#include "core/CString.h"

#include <algorithm>

namespace {
int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }
}  // namespace

char16_t CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return u'\0';
    return m_str[static_cast<size_t>(index)];
}

int CString::Compare(const char16_t* other) const {
    int c = m_str.compare(other ? other : u"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::Find(const char16_t* sub, int start) const {
    if (!sub) return -1;
    size_t pos = m_str.find(sub, static_cast<size_t>(std::max(start, 0)));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(char16_t ch, int start) const {
    size_t pos = m_str.find(ch, static_cast<size_t>(std::max(start, 0)));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char16_t ch) const {
    size_t pos = m_str.rfind(ch);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    return CString(m_str.substr(0, static_cast<size_t>(Clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return CString(m_str.substr(static_cast<size_t>(GetLength() - count)));
}

int CString::Replace(const char16_t* oldText, const char16_t* newText) {
    std::u16string_view from(oldText ? oldText : u"");
    std::u16string_view to(newText ? newText : u"");
    if (from.empty()) return 0;
    int count = 0;
    for (size_t pos = m_str.find(from); pos != std::u16string::npos;
         pos = m_str.find(from, pos + to.size())) {
        m_str.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

CString& CString::Trim() {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    size_t b = 0, e = m_str.size();
    while (b < e && blank(m_str[b])) ++b;
    while (e > b && blank(m_str[e - 1])) --e;
    m_str = m_str.substr(b, e - b);
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : m_str)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return *this;
}
