#include "host/TextMatch.h"

#include "platform/TextCodec.h"

size_t FindGbk(std::string_view text, std::string_view part) {
    for (size_t pos = 0; pos + part.size() <= text.size();) {
        if (text.compare(pos, part.size(), part) == 0) return pos;
        size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    return std::string_view::npos;
}

bool IsOneOf(const CString& text, std::initializer_list<const char16_t*> phrases) {
    for (const char16_t* phrase : phrases)
        if (text.Compare(phrase) == 0) return true;
    return false;
}

bool ContainsAny(const CString& text, std::initializer_list<const char16_t*> parts) {
    for (const char16_t* part : parts)
        if (text.Find(part) >= 0) return true;
    return false;
}

size_t LastGbkCharStart(std::string_view text) {
    size_t last = text.size();
    for (size_t pos = 0; pos < text.size();) {
        last = pos;
        const size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    return last;
}
