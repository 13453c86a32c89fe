// The text layer: CString's clamping members, the UTF-8 / UTF-16 / GBK conversions, the
// URL encoders and the parser of URLs from outside; and the core's handle owner, UniqueAny. GBK bytes are written out in the tables so each case states what it expects;
// the cases use characters on which iconv and code page 936 agree.
#include <climits>

#include "TestSupport.h"
#include "core/CString.h"
#include "core/UniqueAny.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "platform/Url.h"

namespace {

using namespace std::string_literals;
using namespace textcodec;

// ---------------------------------------------------------------- CString

const CString kHello(u"你好world");  // 7 units

TEST(CStringTest, IndexesCountsAndFindStartsClampToTheString) {
    for (int index : {7, -1, INT_MIN}) EXPECT_EQ(kHello.GetAt(index), u'\0') << index;
    EXPECT_EQ(kHello.GetAt(1), u'好');
    const struct { const char* name; CString actual; const char16_t* expected; } cases[] = {
        {"Left -1", kHello.Left(-1), u""},                    {"Left INT_MAX", kHello.Left(INT_MAX), u"你好world"},
        {"Right -3", kHello.Right(-3), u""},                  {"Right INT_MAX", kHello.Right(INT_MAX), u"你好world"},
        {"Mid INT_MIN", kHello.Mid(INT_MIN), u"你好world"},    {"Mid 1,2", kHello.Mid(1, 2), u"好w"},
        {"Mid count INT_MAX", kHello.Mid(3, INT_MAX), u"orld"}, {"Mid negative count", kHello.Mid(1, -1), u""},
        {"Mid first past end", kHello.Mid(INT_MAX, INT_MAX), u""}, {"Mid negative first", kHello.Mid(-2, 3), u"你好w"},
        {"Mid of empty", CString().Mid(1, 1), u""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual.str(), std::u16string(c.expected)) << c.name;

    const CString text(u"打开微信，打开QQ");
    const struct { const char16_t* sub; int start; int expected; } finds[] = {
        {u"打开", 1, 5}, {u"打开", 6, -1}, {u"打开", -10, 0}, {u"QQ", 8, -1}, {u"QQ", INT_MAX, -1},
        {u"", 0, 0},     {u"", INT_MAX, -1}, {nullptr, 0, -1}};
    for (const auto& c : finds) EXPECT_EQ(text.Find(c.sub, c.start), c.expected) << "start " << c.start;
    EXPECT_EQ(text.Find(u'，', -1), 4);
    EXPECT_EQ(text.Find(u'Q', INT_MAX), -1);
    EXPECT_EQ(text.ReverseFind(u'开'), 6);
}

TEST(CStringTest, CompareReplaceTrimAndLower) {
    const struct { const char16_t* a; const char16_t* b; int expected; } compares[] = {
        {u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"ab", u"abc", -1}, {u"", nullptr, 0}, {u"a", nullptr, 1}};
    for (const auto& c : compares) EXPECT_EQ(CString(c.a).Compare(c.b), c.expected) << (&c - compares);

    const struct { const char16_t* text; const char16_t* from; const char16_t* to; int count; const char16_t* result; }
        replaces[] = {
            {u"打开打开", u"打开", u"关闭", 2, u"关闭关闭"},
            {u"aaa", u"a", u"aa", 3, u"aaaaaa"},  // the replacement contains the pattern: no rescan
            {u"aaaa", u"aa", u"a", 2, u"aa"},     // matches do not overlap
            {u"a,b", u",", nullptr, 1, u"ab"},    // null replacement deletes
            {u"abc", u"", u"x", 0, u"abc"},       // an empty pattern changes nothing
        };
    for (const auto& c : replaces) {
        CString text(c.text);
        EXPECT_EQ(text.Replace(c.from, c.to), c.count) << (&c - replaces);
        EXPECT_EQ(text.str(), std::u16string(c.result)) << (&c - replaces);
    }
    for (const auto& [text, trimmed] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"  打开 QQ \t\r\n", u"打开 QQ"}, {u" \t\r\n ", u""}}) {
        EXPECT_EQ(CString(text).Trim().str(), trimmed);
    }
    EXPECT_EQ(CString(u"QQ音乐ABCxyz[@]").MakeLower().str(), u"qq音乐abcxyz[@]");
    EXPECT_EQ(CString(u"打开QQ", -5).str(), u"");
    EXPECT_TRUE(CString(nullptr, 5).IsEmpty());
    EXPECT_EQ(CString(static_cast<const char16_t*>(nullptr)).str(), u"");
}

// ---------------------------------------------------------------- UTF-8 <-> UTF-16

TEST(Utf8Test, DecodesAndReplacesMaximalSubparts) {
    // Invalid input decodes to one U+FFFD per maximal subpart (the Unicode recommended practice).
    const struct { const char* name; std::string utf8; std::u16string utf16; bool valid; } cases[] = {
        {"ascii with NUL", "a\0b"s, u"a\0b"s, true},          {"two-byte", "\xC3\xA9", u"\u00E9", true},
        {"U+10FFFF", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},  {"C0 overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
        {"E0 overlong", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", false},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
        {"F5 lead", "\xF5\x80", u"\uFFFD\uFFFD", false},          {"FF byte", "\xFF", u"\uFFFD", false},
        {"cut three-byte", "a\xE4\xBD", u"a\uFFFD", false},
        {"cut then lead", "\xE4\xBD\xE5\xA5\xBD", u"\uFFFD好", false},
        {"Unicode table 3-8", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(IsValidUtf8(c.utf8), c.valid);
        // Valid text round-trips.
        EXPECT_EQ(Utf16ToUtf8(c.utf16) == c.utf8, c.valid);
    }
    // The bytes after a view are readable memory: decoding must still stop at the view's end.
    const std::string buffer = "\xE4\xBD\xA0\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(std::string_view(buffer.data(), 2)), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16(std::string_view(buffer.data(), 6)), u"你\uFFFD");
    EXPECT_FALSE(IsValidUtf8(std::string_view(buffer.data(), 6)));
    EXPECT_EQ(Utf8ToGbk(std::string_view(buffer.data(), 2)), "?");

    // Lone surrogates encode as U+FFFD.
    for (const auto& [utf16, utf8] : std::vector<std::pair<std::u16string, std::string>>{
             {u"a\xD83D", "a\xEF\xBF\xBD"}, {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
             {u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"}, {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"}}) {
        EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    }
}

// ---------------------------------------------------------------- GBK

TEST(GbkTest, ConvertsCommonCharactersBothWays) {
    const struct { const char* name; std::string utf8; std::string gbk; } cases[] = {
        {"empty", "", ""}, {"mixed", "打开QQ，", "\xB4\xF2\xBF\xAA" "QQ\xA3\xAC"},
        {"full-width letter and space", "Ａ\u3000１", "\xA3\xC1\xA1\xA1\xA3\xB1"},
        {"trail below 0x7F", "丂", "\x81\x40"}, {"trail above 0x7F", "亐", "\x81\x80"},
        {"embedded NUL", "你\0好"s, "\xC4\xE3\0\xBA\xC3"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string utf16 = Utf8ToUtf16(c.utf8);
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
        EXPECT_EQ(GbkToUtf16(c.gbk), utf16);
        EXPECT_EQ(Utf16ToGbk(utf16), c.gbk);
        // The host's names for the same conversions.
        EXPECT_EQ(VeChar::VeUtf8_2_UnicodeChar(c.utf8), c.gbk);
        EXPECT_EQ(VeChar::VeUnicodeChar_2_Utf8(c.gbk), c.utf8);
        EXPECT_EQ(VeChar::VeUtf8_2_CString(c.utf8).str(), utf16);
        EXPECT_EQ(VeChar::VeUnicodeChar_2_CString(c.gbk).str(), utf16);
        EXPECT_EQ(VeChar::VeCString2string(CString(utf16)), c.gbk);
        EXPECT_EQ(VeChar::VeCString_2_Utf8(CString(utf16)), c.utf8);
        EXPECT_EQ(VeChar::Vestring2wstring(c.gbk), utf16);
    }
    // The same literal is converted once: every use sees the same cached text.
    EXPECT_EQ(GBK("聚划算"), "\xBE\xDB\xBB\xAE\xCB\xE3");
    auto first = [] { return &GBK("打开"); };
    EXPECT_EQ(first(), first());
}

TEST(GbkTest, BadOrUnmappableTextBecomesQuestionMarksWithoutLosingTheRest) {
    const struct { const char* name; std::string gbk; std::u16string utf16; } bad[] = {
        {"FF between characters", "\xC4\xE3\xFF\xBA\xC3", u"你?好"}, {"lead at end", "a\xC4", u"a?"},
        {"lead before digit", "\xC4" "0\xBA\xC3", u"?0好"},       {"lead before 0x7F", "\xC4\x7F", u"?\x7F"},
        {"lead before FF", "\xC4\xFF\xBA\xC3", u"??好"},          {"user-defined area", "\xAA\xA1z", u"?z"},
    };
    for (const auto& c : bad) {
        EXPECT_EQ(GbkToUtf16(c.gbk), c.utf16) << c.name;
        EXPECT_EQ(GbkToUtf8(c.gbk), Utf16ToUtf8(c.utf16)) << c.name;
    }
    // A lead byte cut by the view is not paired with the byte beyond it.
    const std::string buffer = "\xC4\xE3\xBA\xC3";
    EXPECT_EQ(GbkToUtf16(std::string_view(buffer.data(), 1)), u"?");
    EXPECT_EQ(GbkToUtf8(std::string_view(buffer.data(), 3)), "你?");

    const struct { const char* name; std::u16string utf16; std::string gbk; } unmappable[] = {
        {"outside the BMP", u"a\U0001F600b", "a\x8B" "1\xFE" "2b"},   {"lone high surrogate", u"\xD83D" u"你", "?\xC4\xE3"},
        {"lone low surrogate at end", u"你\xDE00", "\xC4\xE3?"}, {"private use", u"\uE000", "\x85" "5\xC1" "4"},
        {"Thai letter", u"\u0E01x", "\x81" "2\xEB" "5x"}, {"zero-width space", u"\u200B", "\x81" "6\xC1" "3"},
    };
    // Converted together, as a document's leaves are, each text comes out as it does alone.
    std::vector<std::string> texts{"a\xFF\xE4\xBD" "b\xC0\xAF", "", "plain", "你\0好"s, "打开"};
    std::vector<std::string> alone{"a??b??", "", "plain", "\xC4\xE3\0\xBA\xC3"s, "\xB4\xF2\xBF\xAA"};
    for (const auto& c : unmappable) {
        EXPECT_EQ(Utf16ToGbk(c.utf16), c.gbk) << c.name;
        EXPECT_EQ(Utf8ToGbk(Utf16ToUtf8(c.utf16)), c.gbk) << c.name;
        if (c.gbk.find('?') == std::string::npos) EXPECT_EQ(GbkToUtf16(c.gbk), c.utf16) << c.name;  // nothing lost
        texts.push_back(Utf16ToUtf8(c.utf16));
        alone.push_back(c.gbk);
    }
    // Invalid UTF-8 becomes one '?' per maximal subpart, like the UTF-16 it decodes to.
    EXPECT_EQ(Utf8ToGbk(texts.front()), alone.front());
    std::vector<std::string*> each;
    for (auto& text : texts) each.push_back(&text);
    Utf8ToGbkEach(each);
    EXPECT_EQ(texts, alone);
}

TEST(GbkTest, LongTextCrossesConversionChunks) {
    // Long enough to need several rounds of the OS converter, with bad bytes spread through it.
    std::string gbk, clean;
    std::u16string utf16;
    for (int i = 0; i < 3000; ++i) {
        gbk += (i % 500 ? "" : "\xFF") + "\xC4\xE3"s + "a";
        clean += "\xC4\xE3" "a";
        utf16 += (i % 500 ? u"" : u"?") + u"你a"s;
    }
    EXPECT_EQ(GbkToUtf16(gbk), utf16);
    EXPECT_EQ(Utf16ToGbk(std::u16string(3000, u'x') + u"你").size(), 3002u);
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(clean)), clean);
}

// ---------------------------------------------------------------- URL encoders

TEST(VeCharTest, UrlEncoders) {
    for (const auto& [utf8, encoded] : std::vector<std::pair<std::string, std::string>>{
             {"AZaz09-_.~", "AZaz09-_.~"}, {"你好", "%E4%BD%A0%E5%A5%BD"}, {"\n\ta\0b"s, "%0A%09a%00b"},
             {"!*'();:@&=+$,/?#[]%\"<>\\^`{|}",
              "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%23%5B%5D%25%22%3C%3E%5C%5E%60%7B%7C%7D"},
             {"\xFF\x80", "%FF%80"}}) {  // bytes pass through even when they are not UTF-8
        EXPECT_EQ(VeChar::Utf8_2_Urlcode(utf8), encoded);
    }
    // GBK and UTF-16 texts are encoded in their UTF-8 form; bad input as what it decodes to.
    EXPECT_EQ(VeChar::UnicodeChar_2_Urlcode("\xCE\xA2\xD0\xC5 pc"), "%E5%BE%AE%E4%BF%A1%20pc");
    EXPECT_EQ(VeChar::UnicodeTCHAR_2_Urlcode(CString(u"微信 pc")), "%E5%BE%AE%E4%BF%A1%20pc");
    EXPECT_EQ(VeChar::UnicodeChar_2_Urlcode("\xC4\xE3\xFF"), "%E4%BD%A0%3F");
    EXPECT_EQ(VeChar::UnicodeTCHAR_2_Urlcode(CString(u"a\xD83D")), "a%EF%BF%BD");

    // The JSON form escapes for a JSON string first; raw control characters are not allowed in one.
    for (const auto& [utf8, encoded] : std::vector<std::pair<std::string, std::string>>{
             {"a\"b\\c", "a%5C%22b%5C%5Cc"}, {"\t\x1F", "%5Cu0009%5Cu001f"}, {"a\0b"s, "a%5Cu0000b"}}) {
        EXPECT_EQ(VeChar::Utf8_2_Urlcode_json(utf8), encoded);
    }
    // Every GBK byte as hex, without a leading zero.
    EXPECT_EQ(VeChar::UnicodeChar_2_16_JuHuaSuan(""), "");
    EXPECT_EQ(VeChar::UnicodeChar_2_16_JuHuaSuan("\xB4\xF2\x0F\x10\0"s), "%B4%F2%F%10%0");

    // Each place keeps its own marks; '%', quotes, '&', '#', blanks and control bytes never stay.
    using textcodec::UrlPlace;
    const std::string marks = "!$()*+,;=:@/?#&'\"% \r\n\x7F<>\\^`{|}[]";
    const struct { UrlPlace place; const char* encoded; } places[] = {
        {UrlPlace::pathSegment, "!$()*+,;=:@%2F%3F%23%26%27%22%25%20%0D%0A%7F%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
        {UrlPlace::queryValue, "!$()*%2B,;%3D:@/?%23%26%27%22%25%20%0D%0A%7F%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
        {UrlPlace::fragment, "!$()*+,;=:@/?%23%26%27%22%25%20%0D%0A%7F%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
    };
    for (const auto& c : places) EXPECT_EQ(textcodec::PercentEncode(marks, c.place), c.encoded);
    // GBK characters go whole, a trail byte that reads as a backslash too; a lone lead byte alone;
    // a character GBK cannot hold as its UTF-8. No byte above 0x7F is left.
    EXPECT_EQ(PercentEncode("\xC4\xE3 \x81\x5C|\x81\"" + Utf8ToGbk("\xF0\x9F\x98\x80"), UrlPlace::pathSegment, NonAscii::gbkChars),
              "%C4%E3%20%81%5C%7C%81%22%F0%9F%98%80");
}

TEST(WebUrlTest, AUrlFromOutsideIsParsedAndWrittenAnew) {
    // out: empty when refused.
    const struct { const char* in; const char* out; } cases[] = {
        {"https://a.example/p?q=1&r=%E7#f", "https://a.example/p?q=1&r=%E7#f"},
        {"HTTP://A.example:8080", "HTTP://A.example:8080"},
        {"http://127.0.0.1:9/x", "http://127.0.0.1:9/x"},
        {"http://[::1]:80/", "http://[::1]:80/"}, {"http://[2001:db8::ffff:10.0.0.1]/", "http://[2001:db8::ffff:10.0.0.1]/"},
        {"http://a.example/x\" & calc & \"\r\n", "http://a.example/x%22%20&%20calc%20&%20%22%0D%0A"},
        {"http://a.example/天气'<>", "http://a.example/%E5%A4%A9%E6%B0%94%27%3C%3E"},
        {"http://a.example/%zz%4#a#b", "http://a.example/%25zz%254#a%23b"},
        {"http://a.example?x\ty", "http://a.example?x%09y"},
        // No host, a bad host or port, a user part, another scheme.
        {"http://", ""}, {"http:///x", ""}, {"http://a..example/", ""}, {"http://-a.example/", ""},
        {"http://a b.example/", ""}, {"http://a.example:/", ""}, {"http://a.example:65536/", ""},
        {"http://a.example@evil.example/", ""}, {"http://evil.example\\@a.example/", ""},
        {"http://a_b.example/", ""}, {"http://例子.example/", ""}, {"http://[::1/", ""},
        {"http://[abc]/", ""}, {"http://[:]/", ""}, {"http://[1::2::3]/", ""}, {"http://[1:2:3:4:5:6:7:8:9]/", ""},
        {"http://a.example:0/", ""},
        {" http://a.example/", ""}, {"ftp://a.example/", ""}, {"javascript:alert(1)", ""}, {"file:///C:/x", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(weburl::ParseWebUrl(c.in).value_or(""), c.out) << c.in;
    // A slot never makes a host of its own.
    EXPECT_EQ(weburl::Subdomain("http://", "bj", ".site.example")->str(), "http://bj.site.example");
    for (const char* label : {"evil.example/#", "", "a b", "-a", "a:1", "a@b"})
        EXPECT_FALSE(weburl::Subdomain("http://", label, ".site.example")) << label;
    // An endpoint the host did not set comes from the source (the configuration file), checked
    // as one set by the host; one the host set wins.
    vehttp::SetEndpointSource([](std::string_view name) -> std::string {
        return name == "online" ? "http://config.example/nlu/" : name == "bad" ? "http://a b/" : "";
    });
    EXPECT_EQ(vehttp::Endpoint("online"), "http://config.example/nlu");
    EXPECT_EQ(vehttp::Endpoint("bad"), "");
    EXPECT_TRUE(vehttp::SetEndpoint("online", "http://host.example"));
    EXPECT_EQ(vehttp::Endpoint("online"), "http://host.example");
    // A query or fragment would swallow what is appended to the endpoint.
    for (const char* swallowing : {"http://host.example/#x", "http://host.example/?a=1"})
        EXPECT_FALSE(vehttp::SetEndpoint("online", swallowing)) << swallowing;
    EXPECT_EQ(vehttp::Endpoint("online"), "http://host.example");
    vehttp::SetEndpoint("online", "");
    vehttp::SetEndpointSource(nullptr);
    EXPECT_EQ(vehttp::Endpoint("online"), "");
}

// ---------------------------------------------------------------- UniqueAny

// A kind of handle that records its closes; 0 and -1 own nothing (as null and
// INVALID_HANDLE_VALUE for files).
std::vector<int> g_closed;
struct CountedTraits {
    using type = int;
    static int invalid() noexcept { return 0; }
    static bool is_valid(int value) noexcept { return value != 0 && value != -1; }
    static void close(int value) { g_closed.push_back(value); }
};
using Counted = vecore::UniqueAny<CountedTraits>;

TEST(UniqueAnyTest, ClosesEachOwnedValueOnce) {
    const struct { const char* name; void (*run)(); std::vector<int> closed; } cases[] = {
        {"no invalid value is closed", [] { Counted none, zero(0), minusOne(-1); EXPECT_FALSE(minusOne); }, {}},
        {"put frees the old value before it hands out the storage",
         [] {
             Counted owner(1);
             int* storage = owner.put();
             EXPECT_EQ(g_closed, std::vector<int>{1});
             EXPECT_EQ(*storage, 0);
             *storage = 2;
         },
         {1, 2}},
        {"a move leaves the source empty",
         [] {
             Counted source(3);
             Counted target(std::move(source));
             EXPECT_FALSE(source);
             EXPECT_EQ(target.get(), 3);
         },
         {3}},
        {"move assignment frees the target's value", [] { Counted a(4), b(5); a = std::move(b); }, {4, 5}},
        {"release does not close", [] { Counted owner(6); EXPECT_EQ(owner.release(), 6); EXPECT_FALSE(owner); }, {}},
        {"reset frees the old value", [] { Counted owner(7); owner.reset(8); owner.reset(-1); }, {7, 8}},
    };
    for (const auto& c : cases) {
        g_closed.clear();
        c.run();
        EXPECT_EQ(g_closed, c.closed) << c.name;
    }
}

}  // namespace
