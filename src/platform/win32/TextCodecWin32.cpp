// GBK conversions through the Windows code page 936 tables.
#include <windows.h>

#include "platform/TextCodec.h"

namespace textcodec::detail {
namespace {
constexpr UINT kGbk = 936;

bool IsPrivateUse(wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// One character at a time, so that an unmapped one becomes '?' without losing the rest.
void AppendChar(std::u16string& out, const char* bytes, int length) {
    wchar_t wide[2];
    int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, length, wide, 2);
    if (n != 1 || IsPrivateUse(wide[0])) {
        out += u'?';
        return;
    }
    out += static_cast<char16_t>(wide[0]);
}
}  // namespace

std::u16string OsGbkToUtf16(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    for (size_t pos = 0; pos < gbk.size();) {
        size_t n = GbkCharLength(gbk, pos);
        if (n == 1 && static_cast<unsigned char>(gbk[pos]) < 0x80) {
            out += static_cast<char16_t>(gbk[pos]);
        } else {
            AppendChar(out, gbk.data() + pos, static_cast<int>(n));
        }
        pos += n;
    }
    return out;
}

std::string OsUtf16ToGbk(std::u16string_view utf16) {
    if (utf16.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    int length = static_cast<int>(utf16.size());
    int size = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), size, "?", nullptr);
    return out;
}

}  // namespace textcodec::detail
