#pragma once
// The one conversion core behind every VeChar conversion. UTF-8 is decoded by our own code;
// GBK (code page 936) goes through the OS: iconv on Linux, MultiByteToWideChar on Windows.
// Malformed input never fails: each bad unit becomes a replacement, so results are the same
// on both platforms and nothing is read past the input.
#include <string>
#include <string_view>
#include <vector>

namespace textcodec {

constexpr char16_t kReplacement = u'\uFFFD';

// Invalid UTF-8 (bad bytes, overlongs, surrogates, truncation) decodes to U+FFFD per maximal subpart.
std::u16string Utf8ToUtf16(std::string_view utf8);
// A lone surrogate encodes as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
bool IsValidUtf8(std::string_view utf8);

// The library's GBK text loses nothing: a character GBK cannot express (an emoji, a zero-width
// space) is held as a four-byte sequence of the GB18030 shape (lead, digit, lead, digit), which
// no GBK character has, carrying its code point; these functions read it back. A lone
// surrogate encodes as '?'.
// A byte that cannot start or finish a character, or a GBK character without a Unicode
// mapping on both platforms, decodes to '?'.
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

std::string Utf8ToGbk(std::string_view utf8);
// Utf8ToGbk on each text in place, with one call into the OS for all of them (a document's
// leaves: most are ASCII and stay as they are).
void Utf8ToGbkEach(const std::vector<std::string*>& texts);
std::string GbkToUtf8(std::string_view gbk);

// Structural GBK character length at `pos`: 1 for ASCII and 0x80, 2 for a lead/trail pair, 4 for
// a held code point, 0 when the byte cannot begin a character there.
size_t GbkCharLength(std::string_view gbk, size_t pos);

// Where a percent-encoded piece goes in a URL. `any` keeps only the unreserved characters
// (A-Z a-z 0-9 - _ . ~), which mean the same everywhere; the others also keep the marks their
// place holds without a change of meaning. '%', quotes, '&', blanks and control characters are
// always encoded, so a piece can neither end the address nor add a parameter.
enum class UrlPlace { any, pathSegment, queryValue, fragment };
// Bytes from 0x80 up: encoded as they are, or for the sites that read GBK, each GBK character
// encoded whole, its trail byte too (a held code point goes as its UTF-8 bytes).
enum class NonAscii { encode, gbkChars };

// Every byte the place does not keep becomes %XX with upper-case hex. The one URL encoder;
// VeChar's encoders and the URL builder (platform/Url.h) forward to it.
std::string PercentEncode(std::string_view bytes, UrlPlace place = UrlPlace::any, NonAscii nonAscii = NonAscii::encode);

namespace detail {
// Platform parts: input is already structurally sound (no invalid bytes, no lone surrogates).
std::u16string OsGbkToUtf16(std::string_view gbk);
std::string OsUtf16ToGbk(std::u16string_view utf16);
}  // namespace detail

}  // namespace textcodec
