#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace textcodec {
namespace {

// Where the ASCII run starting at `pos` ends. Most text the library reads is ASCII, so this
// looks at a word at a time.
size_t AsciiRunEnd(std::string_view s, size_t pos) {
    for (std::uint64_t word; pos + sizeof word <= s.size(); pos += sizeof word) {
        std::memcpy(&word, s.data() + pos, sizeof word);
        if (word & 0x8080808080808080u) break;
    }
    while (pos < s.size() && static_cast<unsigned char>(s[pos]) < 0x80) ++pos;
    return pos;
}

bool IsAscii(std::string_view s) { return AsciiRunEnd(s, 0) == s.size(); }

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

// The length of the sequence a byte starts (0: it starts none) and the range of the byte
// after it, which keeps out overlongs, surrogates and code points past U+10FFFF.
struct Lead {
    size_t length;
    unsigned char lo, hi;
};

constexpr Lead LeadOfByte(unsigned b0) {
    if (b0 < 0x80) return {1, 0, 0};
    if (b0 >= 0xC2 && b0 <= 0xDF) return {2, 0x80, 0xBF};
    if (b0 == 0xE0) return {3, 0xA0, 0xBF};
    if (b0 == 0xED) return {3, 0x80, 0x9F};
    if (b0 >= 0xE1 && b0 <= 0xEF) return {3, 0x80, 0xBF};
    if (b0 == 0xF0) return {4, 0x90, 0xBF};
    if (b0 >= 0xF1 && b0 <= 0xF3) return {4, 0x80, 0xBF};
    if (b0 == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// A table, as every non-ASCII character of every text passes here.
constexpr auto kLeads = [] {
    std::array<Lead, 256> leads{};
    for (unsigned b = 0; b < leads.size(); ++b) leads[b] = LeadOfByte(b);
    return leads;
}();

Lead LeadOf(unsigned char b0) { return kLeads[b0]; }

// Decodes one UTF-8 sequence at `pos`; returns its length and stores the code point, or
// returns the length of the maximal invalid subpart and stores U+FFFD.
size_t DecodeUtf8(std::string_view s, size_t pos, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    const Lead lead = LeadOf(b0);
    if (lead.length <= 1) {
        cp = lead.length ? b0 : kReplacement;
        return 1;
    }
    cp = b0 & (0x7F >> lead.length);
    unsigned char lo = lead.lo, hi = lead.hi;
    for (size_t i = 1; i < lead.length; ++i) {
        if (pos + i >= s.size()) { cp = kReplacement; return i; }
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (b < lo || b > hi) { cp = kReplacement; return i; }
        lo = 0x80; hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
    }
    return lead.length;
}

// A code point GBK cannot hold, as four bytes of the GB18030 shape: 0x81-0xFE, 0x30-0x39,
// 0x81-0xFE, 0x30-0x39 (no GBK trail byte is a digit), counting from 0x81308130.
void AppendHeld(std::string& out, char32_t cp) {
    out += static_cast<char>(0x81 + cp / 12600);
    out += static_cast<char>(0x30 + cp / 1260 % 10);
    out += static_cast<char>(0x81 + cp / 10 % 126);
    out += static_cast<char>(0x30 + cp % 10);
}
bool IsHeld(std::string_view gbk, size_t pos) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(gbk[pos + i]); };
    return pos + 3 < gbk.size() && at(0) >= 0x81 && at(0) <= 0xFE && at(1) >= 0x30 && at(1) <= 0x39 && at(2) >= 0x81 &&
           at(2) <= 0xFE && at(3) >= 0x30 && at(3) <= 0x39;
}
char32_t HeldCodePoint(std::string_view gbk, size_t pos) {
    auto at = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(gbk[pos + i])); };
    return (at(0) - 0x81) * 12600 + (at(1) - 0x30) * 1260 + (at(2) - 0x81) * 10 + (at(3) - 0x30);
}

// GBK of text whose units are all sound (no lone surrogates): the OS converts what GBK holds and
// every other character is held. Only a text the OS could not convert whole goes a character at a
// time, to find which.
std::string SoundUtf16ToGbk(std::u16string_view utf16) {
    const auto questions = [](auto text) { return std::count(text.begin(), text.end(), '?'); };
    const bool private_ = std::any_of(utf16.begin(), utf16.end(), [](char16_t c) { return c >= 0xE000 && c <= 0xF8FF; });
    const bool astral = std::any_of(utf16.begin(), utf16.end(), [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
    if (!private_ && !astral) {
        std::string whole = detail::OsUtf16ToGbk(utf16);
        if (questions(whole) == questions(utf16)) return whole;
    }
    std::string out;
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size()) {  // sound: a pair
            AppendHeld(out, 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
            continue;
        }
        if (c == kReplacement) {  // malformed input stays the one mark it always was
            out += '?';
            continue;
        }
        const std::string one = c >= 0xE000 && c <= 0xF8FF ? "?" : detail::OsUtf16ToGbk(std::u16string_view(&c, 1));
        if (one == "?" || one.empty())
            AppendHeld(out, c);
        else
            out += one;
    }
    return out;
}

// Utf8ToUtf16 for GBK: U+FFFD of malformed input stays, lone surrogates cannot occur.
void AppendForGbk(std::u16string& out, std::string_view utf8) {
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp = static_cast<unsigned char>(utf8[pos]);
        pos += cp < 0x80 ? 1 : DecodeUtf8(utf8, pos, cp);
        AppendCodePoint(out, cp);
    }
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
    auto byte = [&](size_t i) { return static_cast<unsigned char>(utf8[i]); };
    for (size_t pos = AsciiRunEnd(utf8, 0); pos < utf8.size(); pos = AsciiRunEnd(utf8, pos)) {
        const Lead lead = LeadOf(byte(pos));
        if (lead.length == 0 || pos + lead.length > utf8.size()) return false;
        if (byte(pos + 1) < lead.lo || byte(pos + 1) > lead.hi) return false;
        for (size_t i = 2; i < lead.length; ++i)
            if ((byte(pos + i) & 0xC0) != 0x80) return false;
        pos += lead.length;
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
    if (IsHeld(gbk, pos)) return 4;
    if (lead == 0xFF || pos + 1 >= gbk.size()) return 0;
    auto trail = static_cast<unsigned char>(gbk[pos + 1]);
    return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 0;
}

std::u16string GbkToUtf16(std::string_view gbk) {
    if (IsAscii(gbk)) return std::u16string(gbk.begin(), gbk.end());
    std::u16string out;
    std::string sound;
    sound.reserve(gbk.size());
    for (size_t pos = 0; pos < gbk.size();) {
        const size_t n = GbkCharLength(gbk, pos);
        if (n == 4) {
            out += detail::OsGbkToUtf16(sound);
            sound.clear();
            const char32_t cp = HeldCodePoint(gbk, pos);
            AppendCodePoint(out, cp < 0x110000 && (cp < 0xD800 || cp > 0xDFFF) ? cp : kReplacement);
        } else if (n == 0) {
            sound += '?';
        } else {
            sound.append(gbk.substr(pos, n));
        }
        pos += n ? n : 1;
    }
    return out + detail::OsGbkToUtf16(sound);
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    if (IsAscii(utf16)) return std::string(utf16.begin(), utf16.end());
    std::u16string sound;
    sound.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            sound += c;
            sound += utf16[++i];
        } else {
            sound += c >= 0xD800 && c <= 0xDFFF ? u'?' : c;
        }
    }
    return SoundUtf16ToGbk(sound);
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::u16string sound;
    sound.reserve(utf8.size());
    AppendForGbk(sound, utf8);
    return SoundUtf16ToGbk(sound);
}

void Utf8ToGbkEach(const std::vector<std::string*>& texts) {
    // The texts go to the OS joined, each ended by U+0000, which GBK keeps as the one zero
    // byte: no GBK character holds one. A text with a NUL of its own goes alone.
    std::vector<std::string*> inJoined;
    size_t units = 0;
    for (std::string* text : texts) {
        if (IsAscii(*text)) continue;
        inJoined.push_back(text);
        units += text->size() + 1;
    }
    if (inJoined.empty()) return;
    std::u16string joined;
    joined.reserve(units);
    for (std::string*& text : inJoined) {
        const size_t start = joined.size();
        AppendForGbk(joined, *text);
        if (joined.find(u'\0', start) != std::u16string::npos) {
            joined.resize(start);
            *text = Utf8ToGbk(*text);
            text = nullptr;
            continue;
        }
        joined += u'\0';
    }
    const std::string gbk = SoundUtf16ToGbk(joined);
    std::string_view rest = gbk;
    for (std::string* text : inJoined) {
        if (!text) continue;
        const auto end = std::find(rest.begin(), rest.end(), '\0');
        text->assign(rest.begin(), end);
        rest.remove_prefix(std::min(static_cast<size_t>(end - rest.begin()) + 1, rest.size()));
    }
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
        if (c >= 0x80 && nonAscii == NonAscii::gbkChars) {
            const size_t length = GbkCharLength(bytes, i);
            // A held code point is no GBK: the site gets its UTF-8, the nearest it can read.
            const std::string whole = length == 4 ? GbkToUtf8(bytes.substr(i, 4)) : std::string(bytes.substr(i, length ? length : 1));
            for (const unsigned char b : whole) {
                out += '%';
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            }
            i += (length ? length : 1) - 1;
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
