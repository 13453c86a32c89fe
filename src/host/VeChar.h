#pragma once
// The host's text conversions and URL encoders. Names say source _2_ target:
// "UnicodeChar" is GBK (code page 936) text, "CString" and "TCHAR" UTF-16.
#include <string>

#include "core/CString.h"

namespace VeChar {

std::string VeUtf8_2_UnicodeChar(const std::string& utf8Text);
std::string VeUnicodeChar_2_Utf8(const std::string& gbkText);
CString VeUtf8_2_CString(const std::string& utf8Text);
CString VeUnicodeChar_2_CString(const std::string& gbkText);
std::string VeCString2string(const CString& text);  // to GBK
std::string VeCString_2_Utf8(const CString& text);
std::u16string Vestring2wstring(const std::string& gbkText);
// Chinese characters to their pinyin (lower case, no tone marks, no separators), most common
// reading first; other characters pass through. GBK in, ASCII/GBK out.
std::string PinyinTransform(const std::string& gbkText);

// Percent-encode the UTF-8 form of the text: unreserved characters (A-Z a-z 0-9 - _ . ~)
// stay, every other byte becomes %XX with upper-case hex.
std::string Utf8_2_Urlcode(const std::string& utf8Text);
std::string UnicodeChar_2_Urlcode(const std::string& gbkText);
std::string UnicodeTCHAR_2_Urlcode(const CString& text);
// For a value placed inside a JSON text inside a URL: quotes, backslashes and control
// characters are escaped for JSON first, then the whole is percent-encoded.
std::string Utf8_2_Urlcode_json(const std::string& utf8Text);
// One shopping site's form: every GBK byte, letters and digits included, as '%' and its
// value in upper-case hex without a leading zero.
std::string UnicodeChar_2_16_JuHuaSuan(const std::string& gbkText);

}  // namespace VeChar

namespace vechar_detail {
template <size_t N>
struct Utf8Literal {
    constexpr Utf8Literal(const char (&text)[N]) {
        for (size_t i = 0; i < N; ++i) value[i] = text[i];
    }
    char value[N];
};
template <Utf8Literal Text>
const std::string& GbkOf() {
    static const std::string gbk = VeChar::VeUtf8_2_UnicodeChar(Text.value);
    return gbk;
}
}  // namespace vechar_detail

// A Chinese literal written in UTF-8 in the source, as the GBK bytes it is compared with;
// converted once per literal.
#define GBK(literal) (::vechar_detail::GbkOf<literal>())
