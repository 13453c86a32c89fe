// VeChar::PinyinTransform over the reading table the build embeds from data/pinyin.txt.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "host/VeChar.h"
#include "platform/TextCodec.h"

namespace pinyin_table {  // defined in the generated PinyinTable.cpp
extern const std::size_t kCount;
extern const std::uint16_t kCodes[];
extern const std::uint16_t kReadings[];
extern const char kPool[];
}  // namespace pinyin_table

namespace VeChar {

std::string PinyinTransform(const std::string& gbkText) {
    const std::span<const std::uint16_t> codes(pinyin_table::kCodes, pinyin_table::kCount);
    std::string out;
    out.reserve(gbkText.size() * 3);  // a reading has at most six letters for two bytes
    for (size_t pos = 0; pos < gbkText.size();) {
        size_t length = textcodec::GbkCharLength(gbkText, pos);
        if (length == 2) {
            auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(gbkText[pos]) << 8 |
                                                   static_cast<unsigned char>(gbkText[pos + 1]));
            auto found = std::lower_bound(codes.begin(), codes.end(), code);
            if (found != codes.end() && *found == code) {
                std::uint16_t reading = pinyin_table::kReadings[found - codes.begin()];
                out.append(pinyin_table::kPool + reading / 8, reading % 8);
                pos += 2;
                continue;
            }
        }
        // Anything without a reading, a stray byte included, is kept as it is.
        length = std::max<size_t>(length, 1);
        out.append(gbkText, pos, length);
        pos += length;
    }
    return out;
}

}  // namespace VeChar
