// Number readers of the local commands over GBK text: digits and Chinese numerals, their
// values, and overflowing or very long numerals.
#include <climits>
#include <cstdint>

#include "TestSupport.h"
#include "local/ChineseNumerals.h"
#include "local/LocalCommandEngine.h"

using namespace vetest;

namespace {

using Engine = LocalCommandEngine;
using namespace numerals;

TEST(LocalNumbers, ReadersOverGbkText) {
    const struct { const char* numeral; const char* digits; } values[] = {
        {"十", "10"}, {"十五", "15"}, {"一百零五", "105"}, {"一万二千", "12000"}, {"一亿", "100000000"}, {"二三", "5"},
        {"十万", "10"} /* as the evaluation defines it */, {"第五", "0"}, {"两", ""}, {"12", "12"}, {"", ""},
        {"三十亿", "-1294967296"} /* 3e9 wraps */,
    };
    for (const auto& c : values) EXPECT_EQ(Utf8(ChineseNumeralToDigits(Gbk(c.numeral))), c.digits) << c.numeral;
    EXPECT_EQ(ChineseNumeralToDigits(Gbk("五") + "1"), "");  // odd length

    const struct { const char* text; int kind; const char* number; } runs[] = {
        {"切换窗口12个", 1, "12"}, {"第六页第5页", 1, "5"}, {"第十五页", 2, "十五"}, {"ppt第五页", 2, "五"},
        {"", 0, "kept"}, {"a拔濉", 0, "kept"},  // the bytes of 五 run from the trail byte of 拔 into 濉
    };
    for (const auto& c : runs) {
        std::string number = Gbk("kept");
        EXPECT_EQ(ExtractNumber(Gbk(c.text), number), c.kind) << c.text;
        EXPECT_EQ(Utf8(number), c.number) << c.text;
    }

    // Both wrap to 32 bits.
    const struct { const char* text; int digits; int count; } counts[] = {
        {"12a", 0, 12}, {"", 0, 0}, {"-5", 0, 5}, {"2147483647", INT_MAX, INT_MAX}, {"2147483648", INT_MIN, INT_MIN},
        {"99999999999999999999", 1661992959, 1661992959}, {"切换三个窗口", 0, 3}, {"第零页", 0, 0},
    };
    for (const auto& c : counts) {
        EXPECT_EQ(DigitsToInt(Gbk(c.text)), c.digits) << c.text;
        EXPECT_EQ(Engine::CountInText(Gbk(c.text)), c.count) << c.text;
    }
}

TEST(LocalNumbers, NumbersAtMostALimitNeverWrap) {
    const struct { const char* text; int max; int value; } cases[] = {  // value -1: refused
        {"100", 100, 100}, {"101", 100, -1}, {"4294967306", 100, -1}, {"0000000042", 100, 42}, {"4a", 100, -1},
        {"三十亿", INT_MAX, -1}, {"二十亿", INT_MAX, 2000000000}, {"九万九千九百九十九", 99999, 99999},
        {"一亿", 99999, -1}, {"九亿亿亿亿亿亿亿亿亿", INT_MAX, -1},
        // As people say them: 万 and 亿 close what stands before them, a bare unit is one of itself.
        {"十万", INT_MAX, 100000}, {"十一万", INT_MAX, 110000}, {"十亿", INT_MAX, 1000000000}, {"百万", INT_MAX, 1000000},
        {"十万", 99999, -1}, {"一百零五", 999, 105}, {"一千二", 9999, 1200}, {"一千零二", 9999, 1002},
        {"三万五", INT_MAX, 35000}, {"二零二四", 9999, 2024}, {"十五", 99, 15}, {"一万二千", INT_MAX, 12000},
    };
    for (const auto& c : cases) {
        const std::string text = Gbk(c.text);
        const NumberKind kind = text[0] >= '0' && text[0] <= '9' ? AsciiDigits : ChineseNumeral;
        EXPECT_EQ(NumberAtMost(kind, text, c.max).value_or(-1), c.value) << c.text;
    }
    EXPECT_FALSE(NumberAtMost(NoNumber, "5", 9));
    for (const char* negative : {"第-5页", "音量调到-1", "第负五页", "音量调到－3"}) EXPECT_TRUE(NegativeNumber(Gbk(negative))) << negative;
    for (const char* positive : {"第5页", "5-1", "第五页", "音量调到30"}) EXPECT_FALSE(NegativeNumber(Gbk(positive))) << positive;
    EXPECT_FALSE(NumberAtMost(AsciiDigits, std::string(1000000, '9'), INT_MAX));
}

// The evaluation as first defined: recursive, the right-hand side first.
int Reference(const unsigned* codes, int i, int n, int& value, int& unit, int& scale) {
    static const unsigned kDigits[10] = {0xC1E3, 0xD2BB, 0xB6FE, 0xC8FD, 0xCBC4,
                                         0xCEE5, 0xC1F9, 0xC6DF, 0xB0CB, 0xBEC5};
    auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    if (i == n) return 1;
    int sub = 0;
    for (int d = 0; d < 10; ++d) {
        if (codes[i] != kDigits[d]) continue;
        int r = Reference(codes, i + 1, n, sub, unit, scale);
        value = static_cast<int>(u(scale) * u(unit) * u(d) * u(r) + u(sub));
        return 1;
    }
    const unsigned code = codes[i];
    const int small = code == 0xCAAE ? 10 : code == 0xB0D9 ? 100 : code == 0xC7A7 ? 1000 : 0;  // 十 百 千
    if (!small && code != 0xCDF2 && code != 0xD2DA) return 0;
    Reference(codes, i + 1, n, sub, unit, scale);
    value = sub;
    if (small) return small;
    const bool big = code == 0xD2DA;
    if (i >= 1 && (codes[i - 1] == code || (big && codes[i - 1] == 0xCDF2))) {
        scale = static_cast<int>(u(scale) * (big ? 100000000u : 10000u));
        unit = 1;
    } else {
        unit = big ? 100000000 : 10000;
    }
    return 1;
}

TEST(LocalNumbers, EvaluatorMatchesTheRecursiveDefinitionOnEveryShortInput) {
    // 零 一 二 九 十 百 千 万 亿 and 第.
    const unsigned alphabet[] = {0xC1E3, 0xD2BB, 0xB6FE, 0xBEC5, 0xCAAE, 0xB0D9, 0xC7A7, 0xCDF2, 0xD2DA, 0xB5DA};
    unsigned codes[5];
    int mismatches = 0;
    for (int length = 0, total = 1; length <= 5; ++length, total *= 10) {
        for (int n = 0; n < total; ++n) {
            for (int i = 0, rest = n; i < length; ++i, rest /= 10) codes[i] = alphabet[rest % 10];
            for (int start = 0; start <= std::min(length, 1); ++start) {
                int v1 = 7, u1 = 1, s1 = 1, v2 = 7, u2 = 1, s2 = 1;
                int r1 = ParseChineseNumeral(codes, start, length, v1, u1, s1);
                int r2 = Reference(codes, start, length, v2, u2, s2);
                mismatches += r1 != r2 || v1 != v2 || u1 != u2 || s1 != s2;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    int value = 0, unit = 1, scale = 1;
    EXPECT_EQ(ParseChineseNumeral(alphabet, 2, 1, value, unit, scale), 0);  // start past the end
}

TEST(LocalNumbers, LongRunsNeitherExhaustTheStackNorVary) {
    std::string nines, units;
    for (int i = 0; i < 100000; ++i) nines += Gbk("九");
    EXPECT_EQ(ChineseNumeralToDigits(nines), "900000");  // digits in a row add up
    EXPECT_EQ(Engine::CountInText(Gbk("切换") + nines), 900000);
    for (int i = 0; i < 50000; ++i) units += Gbk(i % 3 ? "九亿" : "万千");
    const std::string first = ChineseNumeralToDigits(units);
    EXPECT_EQ(ChineseNumeralToDigits(units), first);
    EXPECT_EQ(Engine::CountInText(units), std::stoi(first));
}

}  // namespace
