#include "platform/TextCodec.h"

#include <algorithm>

namespace textcodec {
namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAscii(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns its length and stores the code point, or
// returns the length of the maximal invalid subpart and stores U+FFFD.
size_t DecodeUtf8(std::string_view s, size_t pos, char32_t& cp) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b0 = byte(pos);
    if (b0 < 0x80) { cp = b0; return 1; }
    size_t need;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) { need = 1; cp = b0 & 0x1F; }
    else if (b0 == 0xE0) { need = 2; lo = 0xA0; cp = b0 & 0x0F; }
    else if (b0 >= 0xE1 && b0 <= 0xEC) { need = 2; cp = b0 & 0x0F; }
    else if (b0 == 0xED) { need = 2; hi = 0x9F; cp = b0 & 0x0F; }
    else if (b0 >= 0xEE && b0 <= 0xEF) { need = 2; cp = b0 & 0x0F; }
    else if (b0 == 0xF0) { need = 3; lo = 0x90; cp = b0 & 0x07; }
    else if (b0 >= 0xF1 && b0 <= 0xF3) { need = 3; cp = b0 & 0x07; }
    else if (b0 == 0xF4) { need = 3; hi = 0x8F; cp = b0 & 0x07; }
    else { cp = kReplacement; return 1; }
    for (size_t i = 1; i <= need; ++i) {
        if (pos + i >= s.size()) { cp = kReplacement; return i; }
        unsigned char b = byte(pos + i);
        if (b < lo || b > hi) { cp = kReplacement; return i; }
        lo = 0x80; hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
    }
    return need + 1;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp;
        pos += DecodeUtf8(utf8, pos, cp);
        AppendCodePoint(out, cp);
    }
    return out;
}

bool IsValidUtf8(std::string_view utf8) {
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp;
        size_t n = DecodeUtf8(utf8, pos, cp);
        if (cp == kReplacement && !(n == 3 && utf8.substr(pos, 3) == "\xEF\xBF\xBD")) return false;
        pos += n;
    }
    return true;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

size_t GbkCharLength(std::string_view gbk, size_t pos) {
    auto lead = static_cast<unsigned char>(gbk[pos]);
    if (lead <= 0x80) return 1;
    if (lead == 0xFF || pos + 1 >= gbk.size()) return 0;
    auto trail = static_cast<unsigned char>(gbk[pos + 1]);
    return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 0;
}

std::u16string GbkToUtf16(std::string_view gbk) {
    if (IsAscii(gbk)) return std::u16string(gbk.begin(), gbk.end());
    std::string sound;
    sound.reserve(gbk.size());
    for (size_t pos = 0; pos < gbk.size();) {
        size_t n = GbkCharLength(gbk, pos);
        if (n == 0) {
            sound += '?';
            ++pos;
        } else {
            sound.append(gbk.substr(pos, n));
            pos += n;
        }
    }
    return detail::OsGbkToUtf16(sound);
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    if (IsAscii(utf16)) return std::string(utf16.begin(), utf16.end());
    std::u16string sound;
    sound.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char16_t c = utf16[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            sound += u'?';  // GBK has no characters outside the BMP
            ++i;
        } else if ((c >= 0xD800 && c <= 0xDFFF) || (c >= 0xE000 && c <= 0xF8FF)) {
            sound += u'?';
        } else {
            sound += c;
        }
    }
    return detail::OsUtf16ToGbk(sound);
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    return Utf16ToGbk(Utf8ToUtf16(utf8));
}

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    return Utf16ToUtf8(GbkToUtf16(gbk));
}

std::string PercentEncode(std::string_view bytes, UrlPlace place, NonAscii nonAscii) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // RFC 3986's characters of each place, less '&' and '\'' (a shell or a query reads them).
    std::string_view marks;
    switch (place) {
    case UrlPlace::any: marks = ""; break;
    case UrlPlace::pathSegment: marks = "!$()*+,;=:@"; break;
    case UrlPlace::queryValue: marks = "!$()*,;:@/?"; break;  // '=' and '+' would change the value
    case UrlPlace::fragment: marks = "!$()*+,;=:@/?"; break;
    }
    std::string out;
    out.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80 && nonAscii == NonAscii::keepGbk) {
            // A trail byte may read as ASCII (a backslash, '|', '['): the character stays whole.
            if (GbkCharLength(bytes, i) == 2) out += bytes[i++];
            out += bytes[i];
            continue;
        }
        const bool stays = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.' || c == '~' ||
                           (c != 0 && c < 0x80 && marks.find(static_cast<char>(c)) != std::string_view::npos);
        if (stays) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace textcodec
