// VeChar::PinyinTransform over the table embedded from data/pinyin.txt. Inputs are written in
// UTF-8 and converted to GBK; byte-level cases are written as GBK bytes.
#include <regex>

#include "TestSupport.h"

namespace {

using vetest::Gbk;
using VeChar::PinyinTransform;

TEST(PinyinTest, ReadingsAndBytesOutsideThem) {
    const struct { std::string gbk; std::string expected; } cases[] = {
        {Gbk("北京"), "beijing"}, {Gbk("绿豆"), "lvdou"}, {Gbk("略"), "lve"},  // ü is written v
        {Gbk("重庆"), "zhongqing"},  // place-name readings belong to the travel scenes' region table
        // ASCII and full-width punctuation and letters pass through unchanged.
        {Gbk("KFC肯德基a/b?c=1"), "KFCkendejia/b?c=1"}, {"", ""},
        {Gbk("《西游记》，ＡＢ"), Gbk("《") + "xiyouji" + Gbk("》，ＡＢ")},
        {"\x81\x40", "kao"} /* 丂, the first code */, {"\xFE\x4F", "\xFE\x4F"} /* the last code, no reading */,
        {"\xFD\x9C", "lang"} /* compatibility ideograph */, {"\xAA\xA1", "\xAA\xA1"} /* no character there */,
        // Bytes that make no character: a lead byte without its trail, 0xFF, 0x80, an embedded NUL.
        {"\xB1\xB1\xB1", "bei\xB1"}, {"\xB1" "0", "\xB1" "0"}, {"\xB1\x7F", "\xB1\x7F"},
        {"\xFF\xB1\xB1", "\xFF" "bei"}, {"a\x80" "b", "a\x80" "b"},
        {std::string("\xB1\0\xB1\xB1", 4), std::string("\xB1\0" "bei", 5)},
    };
    for (const auto& c : cases) EXPECT_EQ(PinyinTransform(c.gbk), c.expected) << ::testing::PrintToString(c.gbk);
}

TEST(PinyinTest, EveryGb2312HanziHasAPlainReadingAndLongTextsPass) {
    const std::regex syllable("[a-z]{1,6}");
    int checked = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA) continue;  // unassigned
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_TRUE(std::regex_match(PinyinTransform(gbk), syllable)) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 6763);

    std::string gbk, expected;
    for (int i = 0; i < 20000; ++i) gbk += Gbk("东莞装") + "-", expected += "dongguanzhuang-";
    EXPECT_EQ(PinyinTransform(gbk), expected);
}

}  // namespace
