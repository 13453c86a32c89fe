// The text layer: CString's clamping members, the UTF-8 / UTF-16 / GBK conversions and the
// URL encoders. GBK bytes are written out in the tables so each case states what it expects;
// the cases use characters on which iconv and code page 936 agree.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "host/CString.h"
#include "host/TextCodec.h"
#include "host/VeChar.h"

namespace {

using namespace std::string_literals;

// ---------------------------------------------------------------------------------------------
// CString

const CString kHello(u"你好world");  // 7 units

TEST(CStringTest, GetAtOutsideTheStringReadsNul) {
    struct Case { int index; char16_t expected; };
    const std::vector<Case> cases = {
        {0, u'你'}, {1, u'好'}, {6, u'd'},
        {7, u'\0'}, {-1, u'\0'}, {INT_MAX, u'\0'}, {INT_MIN, u'\0'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(kHello.GetAt(c.index), c.expected);
    }
    EXPECT_EQ(CString().GetAt(0), u'\0');
}

TEST(CStringTest, LeftRightMidClampToTheString) {
    struct Case { const char* name; CString actual; const char16_t* expected; };
    const std::vector<Case> cases = {
        {"Left 2", kHello.Left(2), u"你好"},
        {"Left 0", kHello.Left(0), u""},
        {"Left -1", kHello.Left(-1), u""},
        {"Left past end", kHello.Left(100), u"你好world"},
        {"Left INT_MAX", kHello.Left(INT_MAX), u"你好world"},
        {"Left INT_MIN", kHello.Left(INT_MIN), u""},
        {"Right 5", kHello.Right(5), u"world"},
        {"Right -3", kHello.Right(-3), u""},
        {"Right past end", kHello.Right(8), u"你好world"},
        {"Right INT_MAX", kHello.Right(INT_MAX), u"你好world"},
        {"Mid 2", kHello.Mid(2), u"world"},
        {"Mid at end", kHello.Mid(7), u""},
        {"Mid past end", kHello.Mid(8), u""},
        {"Mid negative", kHello.Mid(-4), u"你好world"},
        {"Mid INT_MIN", kHello.Mid(INT_MIN), u"你好world"},
        {"Mid 1,2", kHello.Mid(1, 2), u"好w"},
        {"Mid count past end", kHello.Mid(5, 100), u"ld"},
        {"Mid count INT_MAX", kHello.Mid(3, INT_MAX), u"orld"},
        {"Mid negative count", kHello.Mid(1, -1), u""},
        {"Mid first past end", kHello.Mid(INT_MAX, INT_MAX), u""},
        {"Mid negative first", kHello.Mid(-2, 3), u"你好w"},
        {"Left of empty", CString().Left(3), u""},
        {"Mid of empty", CString().Mid(1, 1), u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual.str(), std::u16string(c.expected));
    }
}

TEST(CStringTest, FindClampsTheStartAndReportsAbsence) {
    const CString text(u"打开微信，打开QQ");
    struct Case { const char16_t* sub; int start; int expected; };
    const std::vector<Case> cases = {
        {u"打开", 0, 0},
        {u"打开", 1, 5},
        {u"打开", 6, -1},
        {u"打开", -10, 0},
        {u"QQ", 0, 7},
        {u"QQ", 8, -1},
        {u"QQ", 9, -1},
        {u"QQ", INT_MAX, -1},
        {u"微信QQ", 0, -1},
        {u"打开QQ", 0, 5},
        {u"", 0, 0},
        {u"", INT_MAX, -1},
        {nullptr, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "start " << c.start);
        EXPECT_EQ(text.Find(c.sub, c.start), c.expected);
    }
    struct CharCase { char16_t ch; int start; int expected; };
    const std::vector<CharCase> charCases = {
        {u'开', 0, 1}, {u'开', 2, 6}, {u'开', 7, -1}, {u'，', -1, 4}, {u'Q', INT_MAX, -1}, {u'x', 0, -1},
    };
    for (const auto& c : charCases) {
        SCOPED_TRACE(::testing::Message() << "char start " << c.start);
        EXPECT_EQ(text.Find(c.ch, c.start), c.expected);
    }
    EXPECT_EQ(text.ReverseFind(u'开'), 6);
    EXPECT_EQ(text.ReverseFind(u'x'), -1);
    EXPECT_EQ(CString().ReverseFind(u'x'), -1);
}

TEST(CStringTest, CompareOrdersByUnitsAndTreatsNullAsEmpty) {
    struct Case { const char16_t* a; const char16_t* b; int expected; };
    const std::vector<Case> cases = {
        {u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"abd", u"abc", 1},
        {u"ab", u"abc", -1}, {u"abc", u"ab", 1}, {u"", u"", 0},
        {u"", nullptr, 0}, {u"a", nullptr, 1}, {u"打开", u"打开", 0}, {u"打开", u"打", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
        EXPECT_EQ(CString(c.a).Compare(c.b), c.expected);
    }
}

TEST(CStringTest, ReplaceCountsAndDoesNotRescanItsOwnOutput) {
    struct Case { const char16_t* text; const char16_t* from; const char16_t* to; int count; const char16_t* result; };
    const std::vector<Case> cases = {
        {u"打开打开", u"打开", u"关闭", 2, u"关闭关闭"},
        {u"aaa", u"a", u"aa", 3, u"aaaaaa"},      // the replacement contains the pattern
        {u"aaaa", u"aa", u"a", 2, u"aa"},         // matches do not overlap
        {u"a,b,,c", u",", u"", 3, u"abc"},
        {u"a,b", u",", nullptr, 1, u"ab"},        // null replacement deletes
        {u"abc", u"", u"x", 0, u"abc"},           // empty pattern changes nothing
        {u"abc", nullptr, u"x", 0, u"abc"},
        {u"abc", u"abcd", u"x", 0, u"abc"},
        {u"", u"a", u"b", 0, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
        CString text(c.text);
        EXPECT_EQ(text.Replace(c.from, c.to), c.count);
        EXPECT_EQ(text.str(), std::u16string(c.result));
    }
}

TEST(CStringTest, TrimAndMakeLower) {
    struct Case { const char16_t* text; const char16_t* trimmed; };
    const std::vector<Case> cases = {
        {u"  打开 QQ \t\r\n", u"打开 QQ"}, {u" \t\r\n ", u""}, {u"", u""}, {u"x", u"x"}, {u"\na b\n", u"a b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
        CString text(c.text);
        EXPECT_EQ(text.Trim().str(), std::u16string(c.trimmed));
    }
    CString mixed(u"QQ音乐ABCxyz[@]");
    EXPECT_EQ(mixed.MakeLower().str(), u"qq音乐abcxyz[@]");
}

TEST(CStringTest, ConstructionFromPointerAndLengthIsSafe) {
    const char16_t* text = u"打开QQ";
    EXPECT_EQ(CString(text, 2).str(), u"打开");
    EXPECT_EQ(CString(text, 0).str(), u"");
    EXPECT_EQ(CString(text, -5).str(), u"");
    EXPECT_EQ(CString(nullptr, 5).str(), u"");
    EXPECT_EQ(CString(static_cast<const char16_t*>(nullptr)).str(), u"");
    EXPECT_TRUE(CString(nullptr, 5).IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// UTF-8 <-> UTF-16

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
    bool valid;
};

// Invalid input decodes to one U+FFFD per maximal subpart (the Unicode recommended practice).
const std::vector<Utf8Case> kUtf8Cases = {
    {"empty", "", u"", true},
    {"ascii with NUL", "a\0b"s, u"a\0b"s, true},
    {"two-byte", "\xC3\xA9", u"\u00E9", true},
    {"three-byte", "\xE4\xBD\xA0\xE5\xA5\xBD", u"你好", true},
    {"four-byte", "\xF0\x9F\x98\x80", u"\U0001F600", true},
    {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
    {"literal replacement", "\xEF\xBF\xBD", u"\uFFFD", true},
    {"lone continuation", "a\x80z", u"a\uFFFDz", false},
    {"two continuations", "\x80\xBF", u"\uFFFD\uFFFD", false},
    {"C0 overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
    {"E0 overlong", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", false},
    {"F0 overlong", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
    {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"F5 lead", "\xF5\x80", u"\uFFFD\uFFFD", false},
    {"FF byte", "\xFF", u"\uFFFD", false},
    {"truncated three-byte at end", "a\xE4\xBD", u"a\uFFFD", false},
    {"truncated four-byte at end", "\xF0\x9F\x98", u"\uFFFD", false},
    {"truncated then ascii", "\xE4\xBDz", u"\uFFFDz", false},
    {"truncated then lead", "\xE4\xBD\xE5\xA5\xBD", u"\uFFFD好", false},
    {"Unicode table 3-8",
     "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
     u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd", false},
};

TEST(Utf8Test, DecodesAndReplacesMaximalSubparts) {
    for (const auto& c : kUtf8Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textcodec::Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(textcodec::IsValidUtf8(c.utf8), c.valid);
        if (c.valid) {
            EXPECT_EQ(textcodec::Utf16ToUtf8(c.utf16), c.utf8);
        }
    }
}

TEST(Utf8Test, ASequenceCutByTheViewIsNotCompletedFromBeyondIt) {
    // The bytes after the view are readable memory: decoding must still stop at the view's end.
    const std::string buffer = "\xE4\xBD\xA0\xF0\x9F\x98\x80";
    EXPECT_EQ(textcodec::Utf8ToUtf16(std::string_view(buffer.data(), 2)), u"\uFFFD");
    EXPECT_EQ(textcodec::Utf8ToUtf16(std::string_view(buffer.data(), 6)), u"你\uFFFD");
    EXPECT_FALSE(textcodec::IsValidUtf8(std::string_view(buffer.data(), 6)));
    EXPECT_EQ(textcodec::Utf8ToGbk(std::string_view(buffer.data(), 2)), "?");
}

TEST(Utf8Test, EncodesLoneSurrogatesAsReplacement) {
    struct Case { const char* name; std::u16string utf16; std::string utf8; };
    const std::vector<Case> cases = {
        {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high at end", u"a\xD83D", "a\xEF\xBF\xBD"},
        {"lone low", u"\xDE00z", "\xEF\xBF\xBDz"},
        {"reversed pair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"high then ascii", u"\xD83Dx", "\xEF\xBF\xBDx"},
        {"two highs then low", u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"U+07FF and U+0800", u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string utf8 = textcodec::Utf16ToUtf8(c.utf16);
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_TRUE(textcodec::IsValidUtf8(utf8));
    }
}

// ---------------------------------------------------------------------------------------------
// GBK

struct GbkCase {
    const char* name;
    std::string utf8;
    std::string gbk;
};

// Both directions hold for these.
const std::vector<GbkCase> kGbkCases = {
    {"empty", "", ""},
    {"ascii", "QQ 2024 http://a.b/?x=1&y=2", "QQ 2024 http://a.b/?x=1&y=2"},
    {"nihao", "你好", "\xC4\xE3\xBA\xC3"},
    {"open wechat", "打开微信", "\xB4\xF2\xBF\xAA\xCE\xA2\xD0\xC5"},
    {"mixed", "QQ音乐", "QQ\xD2\xF4\xC0\xD6"},
    {"chinese", "中文", "\xD6\xD0\xCE\xC4"},
    {"full-width punctuation", "，。！？、：“”《》",
     "\xA3\xAC\xA1\xA3\xA3\xA1\xA3\xBF\xA1\xA2\xA3\xBA\xA1\xB0\xA1\xB1\xA1\xB6\xA1\xB7"},
    {"full-width letter and space", "Ａ\u3000１", "\xA3\xC1\xA1\xA1\xA3\xB1"},
    {"ideograph with trail below 0x7F", "丂", "\x81\x40"},
    {"ideograph with trail above 0x7F", "亐", "\x81\x80"},
    {"embedded NUL", "你\0好"s, "\xC4\xE3\0\xBA\xC3"s},
};

TEST(GbkTest, ConvertsCommonCharactersBothWays) {
    for (const auto& c : kGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textcodec::Utf8ToGbk(c.utf8), c.gbk);
        EXPECT_EQ(textcodec::GbkToUtf8(c.gbk), c.utf8);
        const std::u16string utf16 = textcodec::Utf8ToUtf16(c.utf8);
        EXPECT_EQ(textcodec::GbkToUtf16(c.gbk), utf16);
        EXPECT_EQ(textcodec::Utf16ToGbk(utf16), c.gbk);
    }
}

TEST(GbkTest, BadBytesDecodeToQuestionMarkWithoutLosingTheRest) {
    struct Case { const char* name; std::string gbk; std::u16string utf16; };
    const std::vector<Case> cases = {
        {"FF byte", "\xFF", u"?"},
        {"FF between characters", "\xC4\xE3\xFF\xBA\xC3", u"你?好"},
        {"lead at end", "a\xC4", u"a?"},
        {"lead before digit", "\xC4" "0\xBA\xC3", u"?0好"},
        {"lead before 0x7F", "\xC4\x7F", u"?\x7F"},
        {"lead before control", "\xC4\x0A", u"?\n"},
        {"lead before FF", "\xC4\xFF\xBA\xC3", u"??好"},
        {"two leads at end", "\xC4\xE3\xC4", u"你?"},
        {"user-defined area", "\xAA\xA1z", u"?z"},
        {"user-defined area high", "\xFE\xFE" "b", u"?b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textcodec::GbkToUtf16(c.gbk), c.utf16);
        EXPECT_EQ(textcodec::GbkToUtf8(c.gbk), textcodec::Utf16ToUtf8(c.utf16));
    }
}

TEST(GbkTest, ALeadByteCutByTheViewIsNotPairedFromBeyondIt) {
    const std::string buffer = "\xC4\xE3\xBA\xC3";
    EXPECT_EQ(textcodec::GbkToUtf16(std::string_view(buffer.data(), 1)), u"?");
    EXPECT_EQ(textcodec::GbkToUtf16(std::string_view(buffer.data(), 3)), u"你?");
    EXPECT_EQ(textcodec::GbkToUtf8(std::string_view(buffer.data(), 3)), "你?");
}

TEST(GbkTest, UnmappableCharactersEncodeToQuestionMark) {
    struct Case { const char* name; std::u16string utf16; std::string gbk; };
    const std::vector<Case> cases = {
        {"outside the BMP", u"a\U0001F600b", "a?b"},
        {"lone high surrogate", u"\xD83D" u"你", "?\xC4\xE3"},
        {"lone low surrogate at end", u"你\xDE00", "\xC4\xE3?"},
        {"private use", u"\uE000\uF8FF", "??"},
        {"replacement character", u"\uFFFD", "?"},
        {"Thai letter", u"\u0E01x", "?x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textcodec::Utf16ToGbk(c.utf16), c.gbk);
        EXPECT_EQ(textcodec::Utf8ToGbk(textcodec::Utf16ToUtf8(c.utf16)), c.gbk);
    }
    // Invalid UTF-8 becomes one '?' per maximal subpart, like the UTF-16 it decodes to.
    EXPECT_EQ(textcodec::Utf8ToGbk("a\xFF\xE4\xBD" "b\xC0\xAF"), "a??b??");
}

TEST(GbkTest, LongTextCrossesConversionChunks) {
    // Long enough to need several rounds of the OS converter, with bad bytes spread through it.
    std::string gbk;
    std::u16string utf16;
    for (int i = 0; i < 3000; ++i) {
        gbk += "\xC4\xE3" "a";
        utf16 += u"你a";
        if (i % 500 == 0) {
            gbk += '\xFF';
            utf16 += u'?';
        }
    }
    EXPECT_EQ(textcodec::GbkToUtf16(gbk), utf16);
    std::string clean;
    for (int i = 0; i < 3000; ++i) clean += "\xC4\xE3" "a";
    EXPECT_EQ(textcodec::Utf16ToGbk(std::u16string(3000, u'x') + u"你").size(), 3002u);
    EXPECT_EQ(textcodec::Utf8ToGbk(textcodec::GbkToUtf8(clean)), clean);
}

// ---------------------------------------------------------------------------------------------
// VeChar

TEST(VeCharTest, ConversionsBetweenTheThreeKinds) {
    struct Case { std::string utf8; std::string gbk; std::u16string utf16; };
    const std::vector<Case> cases = {
        {"", "", u""},
        {"QQ", "QQ", u"QQ"},
        {"打开QQ音乐", "\xB4\xF2\xBF\xAA" "QQ\xD2\xF4\xC0\xD6", u"打开QQ音乐"},
        {"你好，世界。", "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\xA1\xA3", u"你好，世界。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(VeChar::VeUtf8_2_UnicodeChar(c.utf8), c.gbk);
        EXPECT_EQ(VeChar::VeUnicodeChar_2_Utf8(c.gbk), c.utf8);
        EXPECT_EQ(VeChar::VeUtf8_2_CString(c.utf8).str(), c.utf16);
        EXPECT_EQ(VeChar::VeUnicodeChar_2_CString(c.gbk).str(), c.utf16);
        EXPECT_EQ(VeChar::VeCString2string(CString(c.utf16)), c.gbk);
        EXPECT_EQ(VeChar::VeCString_2_Utf8(CString(c.utf16)), c.utf8);
        EXPECT_EQ(VeChar::Vestring2wstring(c.gbk), c.utf16);
    }
}

TEST(VeCharTest, GbkMacroGivesTheGbkBytesOnce) {
    EXPECT_EQ(GBK("你好"), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(GBK("聚划算"), "\xBE\xDB\xBB\xAE\xCB\xE3");
    EXPECT_EQ(GBK("QQ"), "QQ");
    // The same literal is converted once: every use sees the same cached text.
    auto first = [] { return &GBK("打开"); };
    EXPECT_EQ(first(), first());
}

TEST(VeCharTest, Utf8UrlEncodingKeepsOnlyUnreservedCharacters) {
    struct Case { std::string utf8; std::string encoded; };
    const std::vector<Case> cases = {
        {"", ""},
        {"AZaz09-_.~", "AZaz09-_.~"},
        {" ", "%20"},
        {"a b+c", "a%20b%2Bc"},
        {"!*'();:@&=+$,/?#[]%\"<>\\^`{|}", "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%23%5B%5D%25%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {"你好", "%E4%BD%A0%E5%A5%BD"},
        {"\n\t"s, "%0A%09"},
        {"a\0b"s, "a%00b"},
        {"\xFF\x80", "%FF%80"},  // bytes pass through even when they are not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(VeChar::Utf8_2_Urlcode(c.utf8), c.encoded);
    }
}

TEST(VeCharTest, GbkAndUtf16UrlEncodingEncodeTheUtf8Form) {
    struct Case { std::string gbk; std::u16string utf16; std::string encoded; };
    const std::vector<Case> cases = {
        {"", u"", ""},
        {"QQ", u"QQ", "QQ"},
        {"\xC4\xE3\xBA\xC3", u"你好", "%E4%BD%A0%E5%A5%BD"},
        {"\xCE\xA2\xD0\xC5 pc", u"微信 pc", "%E5%BE%AE%E4%BF%A1%20pc"},
        {"\xA3\xAC", u"，", "%EF%BC%8C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(VeChar::UnicodeChar_2_Urlcode(c.gbk), c.encoded);
        EXPECT_EQ(VeChar::UnicodeTCHAR_2_Urlcode(CString(c.utf16)), c.encoded);
    }
    // Bad input still gives a well-formed encoding of what it decodes to.
    EXPECT_EQ(VeChar::UnicodeChar_2_Urlcode("\xC4\xE3\xFF"), "%E4%BD%A0%3F");
    EXPECT_EQ(VeChar::UnicodeTCHAR_2_Urlcode(CString(u"a\xD83D")), "a%EF%BF%BD");
}

TEST(VeCharTest, JsonUrlEncodingEscapesForJsonFirst) {
    struct Case { std::string utf8; std::string encoded; };
    const std::vector<Case> cases = {
        {"abc", "abc"},
        {"a\"b", "a%5C%22b"},
        {"a\\b", "a%5C%5Cb"},
        {"\"\\", "%5C%22%5C%5C"},
        {"你\"好", "%E4%BD%A0%5C%22%E5%A5%BD"},
        // Raw control characters are not allowed inside a JSON string.
        {"a\nb", "a%5Cu000ab"},
        {"\t\x1F", "%5Cu0009%5Cu001f"},
        {"a\0b"s, "a%5Cu0000b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(VeChar::Utf8_2_Urlcode_json(c.utf8), c.encoded);
    }
}

TEST(VeCharTest, EveryGbkByteAsHexWithoutLeadingZero) {
    struct Case { std::string gbk; std::string encoded; };
    const std::vector<Case> cases = {
        {"", ""},
        {"A", "%41"},
        {"a1", "%61%31"},
        {"\x0A", "%A"},
        {"\x01\x10", "%1%10"},
        {"\0"s, "%0"},
        {"\xC4\xE3\xBA\xC3", "%C4%E3%BA%C3"},
        {"\xB4\xF2\x0F\xFF", "%B4%F2%F%FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(VeChar::UnicodeChar_2_16_JuHuaSuan(c.gbk), c.encoded);
    }
}

}  // namespace
