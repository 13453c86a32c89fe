#include "host/VeChar.h"

#include "platform/TextCodec.h"

namespace VeChar {

std::string VeUtf8_2_UnicodeChar(const std::string& utf8Text) { return textcodec::Utf8ToGbk(utf8Text); }

std::string VeUnicodeChar_2_Utf8(const std::string& gbkText) { return textcodec::GbkToUtf8(gbkText); }

CString VeUtf8_2_CString(const std::string& utf8Text) { return CString(textcodec::Utf8ToUtf16(utf8Text)); }

CString VeUnicodeChar_2_CString(const std::string& gbkText) { return CString(textcodec::GbkToUtf16(gbkText)); }

std::string VeCString2string(const CString& text) { return textcodec::Utf16ToGbk(text.str()); }

std::string VeCString_2_Utf8(const CString& text) { return textcodec::Utf16ToUtf8(text.str()); }

std::u16string Vestring2wstring(const std::string& gbkText) { return textcodec::GbkToUtf16(gbkText); }

std::string Utf8_2_Urlcode(const std::string& utf8Text) { return textcodec::PercentEncode(utf8Text); }

std::string UnicodeChar_2_Urlcode(const std::string& gbkText) {
    return Utf8_2_Urlcode(textcodec::GbkToUtf8(gbkText));
}

std::string UnicodeTCHAR_2_Urlcode(const CString& text) {
    return Utf8_2_Urlcode(textcodec::Utf16ToUtf8(text.str()));
}

std::string Utf8_2_Urlcode_json(const std::string& utf8Text) {
    std::string escaped;
    escaped.reserve(utf8Text.size());
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : utf8Text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {  // a raw control character would make the JSON text invalid
            escaped += "\\u00";
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
            continue;
        }
        if (c == '"' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return Utf8_2_Urlcode(escaped);
}

std::string UnicodeChar_2_16_JuHuaSuan(const std::string& gbkText) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(gbkText.size() * 3);
    for (unsigned char c : gbkText) {
        out += '%';
        if (c >= 0x10) out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

}  // namespace VeChar
