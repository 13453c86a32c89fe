// VeChar::PinyinTransform over the table embedded from data/pinyin.txt. Inputs are written in
// UTF-8 and converted to GBK; byte-level cases are written as GBK bytes.
#include <regex>

#include "TestSupport.h"

namespace {

using vetest::Gbk;
using VeChar::PinyinTransform;

TEST(PinyinTest, ChineseBecomesItsMostCommonReading) {
    const struct { const char* utf8; const char* expected; } cases[] = {
        {"北京", "beijing"}, {"乌鲁木齐", "wulumuqi"}, {"石家庄", "shijiazhuang"}, {"宫保鸡丁", "gongbaojiding"},
        {"绿豆", "lvdou"}, {"女", "nv"}, {"略", "lve"},  // ü is written v
        // Place-name readings belong to the travel scenes' region table, not to this table.
        {"重庆", "zhongqing"}, {"长沙", "zhangsha"},
        // Mixed text: ASCII and full-width punctuation and letters pass through unchanged.
        {"KFC肯德基", "KFCkendeji"}, {"iPhone 15手机", "iPhone 15shouji"}, {"a/b?c=1", "a/b?c=1"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PinyinTransform(Gbk(c.utf8)), c.expected) << c.utf8;
    EXPECT_EQ(PinyinTransform(Gbk("北京，上海。")), "beijing" + Gbk("，") + "shanghai" + Gbk("。"));
    EXPECT_EQ(PinyinTransform(Gbk("《西游记》ＡＢ")), Gbk("《") + "xiyouji" + Gbk("》ＡＢ"));
}

TEST(PinyinTest, GbkBytesOutsideGb2312AndInvalidBytes) {
    const struct { const char* name; std::string gbk; std::string expected; } cases[] = {
        {"first code", "\x81\x40", "kao"},          // 丂, an extension character
        {"last code", "\xFE\x4F", "\xFE\x4F"},       // 﨩 has no reading
        {"compatibility ideograph", "\xFD\x9C", "lang"},
        {"no character there", "\xAA\xA1", "\xAA\xA1"},
        {"lone lead at the end", "\xB1\xB1\xB1", "bei\xB1"},
        {"lead before a digit", "\xB1" "0", "\xB1" "0"},
        {"lead before DEL", "\xB1\x7F", "\xB1\x7F"},
        {"FF byte", "\xFF\xB1\xB1", "\xFF" "bei"},
        {"0x80 byte", "a\x80" "b", "a\x80" "b"},
        {"embedded NUL", std::string("\xB1\0\xB1\xB1", 4), std::string("\xB1\0" "bei", 5)},
    };
    for (const auto& c : cases) EXPECT_EQ(PinyinTransform(c.gbk), c.expected) << c.name;
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
