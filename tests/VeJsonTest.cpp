// The flattened JSON document: leaf paths and texts, refusal of bad input, array-element
// scoping for brother leaves, inserted leaves, the one-time GBK conversion and copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/VeJson.h"

namespace {

using namespace std::string_literals;

std::vector<std::string> TextsAt(const VeJson& doc, const char* path) {
    std::vector<std::string> texts;
    doc.GetNodeTextVector(path, texts);
    return texts;
}

// ---------------------------------------------------------------------------------------------
// Leaves

struct LeafCase {
    const char* name;
    std::string json;
    const char* path;
    std::string text;
};

const std::vector<LeafCase> kLeafCases = {
    {"string", R"({"text":"打开QQ"})", "text", "打开QQ"},
    {"integer", R"({"rc":4})", "rc", "4"},
    {"negative zero", R"({"n":-0})", "n", "-0"},
    {"trailing zero kept", R"({"n":1.50})", "n", "1.50"},
    {"exponent kept", R"({"n":1e3})", "n", "1e3"},
    {"signed exponent", R"({"n":-2.5E-3})", "n", "-2.5E-3"},
    {"tiny exponent", R"({"n":1e-400})", "n", "1e-400"},
    {"huge integer", R"({"n":123456789012345678901234567890})", "n", "123456789012345678901234567890"},
    {"true", R"({"b":true})", "b", "true"},
    {"false", R"({"b":false})", "b", "false"},
    {"null", R"({"z":null,"after":1})", "z", ""},
    {"escapes", R"({"s":"a\"b\\c\/d\n\t"})", "s", "a\"b\\c/d\n\t"},
    {"unicode escape", R"({"s":"\u4f60\u597D"})", "s", "你好"},
    {"surrogate pair escape", R"({"s":"\ud83d\ude00"})", "s", "\xF0\x9F\x98\x80"},
    {"escaped NUL kept", R"({"s":"a\u0000b"})", "s", "a\0b"s},
    {"literal replacement character", "{\"s\":\"\xEF\xBF\xBD\"}", "s", "\xEF\xBF\xBD"},
    {"nested object", R"({"a":{"b":{"c":"x"}}})", "a^b^c", "x"},
    {"array level has no index", R"({"a":[{"b":"x"}]})", "a^b", "x"},
    {"array of arrays", R"({"a":[[["x"]]]})", "a", "x"},
    {"scalar in array", R"({"a":[7,8]})", "a", "7"},
    {"root array", R"([{"a":"x"},{"b":"y"}])", "b", "y"},
    {"root array nested", R"([[{"a":{"b":"x"}}]])", "a^b", "x"},
    {"root scalar", R"("x")", "", "x"},
    {"empty key", R"({"":"x"})", "", "x"},
    {"empty key above a key", R"({"":{"b":"x"}})", "^b", "x"},
    {"empty key below a key", R"({"a":{"":"x"}})", "a^", "x"},
    {"key after nested object", R"({"a":{"b":1},"c":"x"})", "c", "x"},
    {"key after nested array", R"({"a":[{"b":1}],"c":{"d":"x"}})", "c^d", "x"},
    {"value after object in array", R"({"a":[{"b":1},"x"]})", "a", "x"},
    {"chinese key", R"({"语义":{"意图":"x"}})", "语义^意图", "x"},
    {"whitespace around", " \r\n\t{ \"a\" : \"x\" }\n ", "a", "x"},
};

TEST(VeJsonLeafTest, ReadsEachLeafAtItsPath) {
    for (const auto& c : kLeafCases) {
        SCOPED_TRACE(c.name);
        VeJson doc(c.json.c_str(), c.json.size());
        ASSERT_TRUE(doc.IsValid());
        EXPECT_EQ(doc.Get(c.path), c.text);
    }
}

TEST(VeJsonLeafTest, MissingPathsReadEmpty) {
    VeJson doc(R"({"a":{"b":"x"},"c":[1]})");
    ASSERT_TRUE(doc.IsValid());
    for (const char* path : {"", "b", "a", "a^b^c", "a^", "^a^b", "c^", "A^B", "a^b "}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(doc.Get(path), "");
    }
    EXPECT_EQ(doc.Get(nullptr), "");
    EXPECT_TRUE(TextsAt(doc, "zzz").empty());
    EXPECT_EQ(doc.GetJsonNodeText_All("zzz"), "");
}

TEST(VeJsonLeafTest, AllLeavesAtAPathInDocumentOrder) {
    VeJson doc(R"({"ws":[{"cw":[{"w":"打开"},{"w":"微"}]},{"cw":[{"w":"信"}]}],"w":"top","n":[1,2.5,null,true]})");
    ASSERT_TRUE(doc.IsValid());
    EXPECT_EQ(TextsAt(doc, "ws^cw^w"), (std::vector<std::string>{"打开", "微", "信"}));
    EXPECT_EQ(doc.GetJsonNodeText_All("ws^cw^w"), "打开微信");
    EXPECT_EQ(doc.Get("ws^cw^w"), "打开");
    EXPECT_EQ(TextsAt(doc, "n"), (std::vector<std::string>{"1", "2.5", "", "true"}));
    EXPECT_EQ(TextsAt(doc, "w"), (std::vector<std::string>{"top"}));
}

TEST(VeJsonLeafTest, LargeValuesAndManyLeaves) {
    const std::string big(1 << 20, 'x');
    const std::string text = R"({"a":")" + big + R"(","b":"end"})";
    VeJson doc(text.c_str());
    ASSERT_TRUE(doc.IsValid());
    EXPECT_EQ(doc.Get("a"), big);
    EXPECT_EQ(doc.Get("b"), "end");

    std::string array = R"({"a":[)";
    for (int i = 0; i < 100000; ++i) array += (i ? "," : "") + std::to_string(i);
    array += "]}";
    VeJson many(array.c_str());
    ASSERT_TRUE(many.IsValid());
    const auto texts = TextsAt(many, "a");
    ASSERT_EQ(texts.size(), 100000u);
    EXPECT_EQ(texts.back(), "99999");
}

// ---------------------------------------------------------------------------------------------
// Refusal

struct BadCase {
    const char* name;
    std::string json;
};

const std::vector<BadCase> kBadCases = {
    {"empty", ""},
    {"blank", " \n\t"},
    {"unclosed object", R"({"a":1)"},
    {"unclosed string", R"({"a":"x)"},
    {"truncated after key", R"({"a")"},
    {"truncated inside escape", R"({"a":"\u4f)"},
    {"trailing garbage", R"({"a":1}x)"},
    {"two documents", R"({"a":1}{"b":2})"},
    {"trailing comma in object", R"({"a":1,})"},
    {"trailing comma in array", R"([1,])"},
    {"single quotes", R"({'a':1})"},
    {"bare key", R"({a:1})"},
    {"leading zero", R"({"a":01})"},
    {"leading dot", R"({"a":.5})"},
    {"trailing dot", R"({"a":1.})"},
    {"plus sign", R"({"a":+1})"},
    {"NaN", R"({"a":NaN})"},
    {"Infinity", R"({"a":Infinity})"},
    {"comment", R"({"a":1 /* c */})"},
    {"bad escape", R"({"a":"\x41"})"},
    {"short unicode escape", R"({"a":"\u12"})"},
    {"lone high surrogate escape", R"({"a":"\ud800"})"},
    {"high surrogate then letter", R"({"a":"\ud800x"})"},
    {"lone low surrogate escape", R"({"a":"\udc00"})"},
    {"lone low surrogate escape in key", R"({"\udc00":1})"},
    {"raw newline in string", "{\"a\":\"x\ny\"}"},
    {"raw tab in string", "{\"a\":\"x\ty\"}"},
    {"invalid UTF-8 in value", "{\"a\":\"\xFF\"}"},
    {"overlong UTF-8 in value", "{\"a\":\"\xC0\xAF\"}"},
    {"encoded surrogate in value", "{\"a\":\"\xED\xA0\x80\"}"},
    {"truncated UTF-8 in value", "{\"a\":\"\xE4\xBD\"}"},
    {"invalid UTF-8 in key", "{\"\xFF\":1}"},
    {"truncated UTF-8 in key", "{\"k\xE4\":1}"},
    {"valid document then NUL and garbage", "{\"a\":1}\0{\"b\":2}"s},
    {"NUL inside string", "{\"a\":\"x\0y\"}"s},
    {"TRUE", R"({"a":TRUE})"},
    {"missing colon", R"({"a" 1})"},
    {"missing comma", R"({"a":1 "b":2})"},
    {"closing mismatch", R"({"a":[1}})"},
};

TEST(VeJsonRefusalTest, BadTextIsInvalidWithNoLeaves) {
    for (const auto& c : kBadCases) {
        SCOPED_TRACE(c.name);
        VeJson doc(c.json.data(), c.json.size());
        EXPECT_FALSE(doc.IsValid());
        EXPECT_TRUE(doc.Leaves().empty());
        EXPECT_EQ(doc.Get("a"), "");
        EXPECT_EQ(doc.GetJsonNodeText_All("a"), "");
    }
}

TEST(VeJsonRefusalTest, EveryProperPrefixOfADocumentIsInvalid) {
    const std::string text = R"({"text":"打开","rc":0,"ws":[{"w":"x","sc":1.5}],"ok":true,"n":null})";
    ASSERT_TRUE(VeJson(text.data(), text.size()).IsValid());
    for (size_t n = 0; n < text.size(); ++n) {
        SCOPED_TRACE(n);
        // A heap copy of exactly the prefix, so reading past it would be caught by the sanitizer.
        const std::vector<char> prefix(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        VeJson doc(prefix.data(), prefix.size());
        EXPECT_FALSE(doc.IsValid());
        EXPECT_TRUE(doc.Leaves().empty());
    }
}

TEST(VeJsonRefusalTest, NullPointer) {
    VeJson a(nullptr);
    VeJson b(nullptr, 10);
    EXPECT_FALSE(a.IsValid());
    EXPECT_FALSE(b.IsValid());
    EXPECT_TRUE(a.Leaves().empty());
    EXPECT_EQ(b.Get("a"), "");
}

TEST(VeJsonRefusalTest, NestingUpToTheLimitOnly) {
    struct Case { const char* name; int depth; bool valid; };
    const std::vector<Case> cases = {
        {"one", 1, true},
        {"at the limit", VeJson::kMaxDepth, true},
        {"one past the limit", VeJson::kMaxDepth + 1, false},
        {"far past the limit", 100000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto n = static_cast<size_t>(c.depth);
        const std::string arrays = std::string(n, '[') + "1" + std::string(n, ']');
        std::string objects;
        for (size_t i = 0; i < n; ++i) objects += "{\"k\":";
        objects += "1" + std::string(n, '}');
        const std::string unclosed(n, '[');

        VeJson a(arrays.c_str());
        EXPECT_EQ(a.IsValid(), c.valid);
        EXPECT_EQ(a.Get(""), c.valid ? "1" : "");
        VeJson o(objects.c_str());
        EXPECT_EQ(o.IsValid(), c.valid);
        EXPECT_EQ(o.Leaves().size(), c.valid ? 1u : 0u);
        EXPECT_FALSE(VeJson(unclosed.c_str()).IsValid());
    }
}

// ---------------------------------------------------------------------------------------------
// Brother leaves

// Two semantic entries whose slots share names: a brother leaf must come from the element of
// the matching name, never from a neighbour.
const char* const kSemantic = R"({
  "semantic":[
    {"intent":"OPEN","slots":[{"name":"app","value":"微信"},{"name":"site","value":"淘宝"}]},
    {"intent":"SEARCH","slots":[{"name":"keyword","value":"稻香"},{"name":"site"},{"name":"app","value":"QQ"}]}
  ],
  "text":"打开微信"
})";

TEST(VeJsonBrotherTest, FindsTheValueInTheSameElement) {
    VeJson doc(kSemantic);
    ASSERT_TRUE(doc.IsValid());
    struct Case { const char* namePath; const char* name; const char* valuePath; int level; std::string expected; };
    const std::vector<Case> cases = {
        {"semantic^slots^name", "app", "semantic^slots^value", 2, "微信"},
        {"semantic^slots^name", "site", "semantic^slots^value", 2, "淘宝"},
        {"semantic^slots^name", "keyword", "semantic^slots^value", 2, "稻香"},
        {"semantic^slots^name", "missing", "semantic^slots^value", 2, ""},
        {"semantic^slots^name", "app", "semantic^slots^other", 2, ""},
        // Entry-level scope: the first slot value inside the entry with that intent.
        {"semantic^intent", "SEARCH", "semantic^slots^value", 3, "稻香"},
        {"semantic^intent", "OPEN", "semantic^slots^name", 3, "app"},
        {"semantic^intent", "SEARCH", "semantic^intent", 3, "SEARCH"},
        {"semantic^intent", "NONE", "semantic^slots^value", 3, ""},
        {"semantic^slots^value", "QQ", "semantic^slots^name", 2, "app"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.namePath << "=" << c.name << " -> " << c.valuePath);
        EXPECT_EQ(doc.GetBrotherLeaf(c.namePath, c.name, c.valuePath, c.level), c.expected);
    }
}

TEST(VeJsonBrotherTest, ASlotWithoutValueDoesNotBorrowANeighbours) {
    VeJson doc(R"({"slots":[{"name":"a","value":"1"},{"name":"b"},{"name":"c","value":"3"}]})");
    ASSERT_TRUE(doc.IsValid());
    EXPECT_EQ(doc.GetBrotherLeaf("slots^name", "b", "slots^value", 2), "");
    EXPECT_EQ(doc.GetBrotherLeaf("slots^name", "c", "slots^value", 2), "3");
}

TEST(VeJsonBrotherTest, DuplicateNamesUseTheFirstElementThatHasTheValue) {
    VeJson doc(R"({"slots":[{"name":"a"},{"name":"a","value":"2"}]})");
    ASSERT_TRUE(doc.IsValid());
    EXPECT_EQ(doc.GetBrotherLeaf("slots^name", "a", "slots^value", 2), "2");
}

TEST(VeJsonBrotherTest, NullArgumentsFindNothing) {
    VeJson doc(kSemantic);
    EXPECT_EQ(doc.GetBrotherLeaf(nullptr, "app", "semantic^slots^value", 2), "");
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", nullptr, "semantic^slots^value", 2), "");
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", "app", nullptr, 2), "");
}

// ---------------------------------------------------------------------------------------------
// Insert, GBK conversion, copies

TEST(VeJsonInsertTest, InsertedLeafWinsOverAParsedOne) {
    VeJson doc(R"({"text":"打开QQ","rc":0})");
    ASSERT_TRUE(doc.IsValid());
    doc.Insert("text", "打开微信");
    doc.Insert("new^path", "x");
    EXPECT_EQ(doc.Get("text"), "打开微信");
    EXPECT_EQ(doc.Get("new^path"), "x");
    EXPECT_EQ(doc.Get("rc"), "0");
    EXPECT_EQ(TextsAt(doc, "text"), (std::vector<std::string>{"打开微信", "打开QQ"}));
    doc.Insert("text", "third");
    EXPECT_EQ(doc.Get("text"), "third");
}

TEST(VeJsonInsertTest, InsertedPairIsItsOwnElement) {
    VeJson doc(kSemantic);
    ASSERT_TRUE(doc.IsValid());
    doc.Insert("semantic^slots^name", "city", "semantic^slots^value", "北京");
    doc.Insert("semantic^slots^name", "date", "semantic^slots^value", "明天");
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", "city", "semantic^slots^value", 2), "北京");
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", "date", "semantic^slots^value", 2), "明天");
    // The parsed elements keep their own values.
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", "site", "semantic^slots^value", 2), "淘宝");
    EXPECT_EQ(doc.GetBrotherLeaf("semantic^intent", "SEARCH", "semantic^slots^value", 3), "稻香");
}

TEST(VeJsonInsertTest, InsertIntoAnInvalidDocumentWorks) {
    VeJson doc("not json");
    doc.Insert("a", "x");
    doc.Insert("n", "k", "v", "y");
    EXPECT_FALSE(doc.IsValid());
    EXPECT_EQ(doc.Get("a"), "x");
    EXPECT_EQ(doc.GetBrotherLeaf("n", "k", "v", 2), "y");
}

TEST(VeJsonGbkTest, ConvertsTextsOnceAndKeepsPaths) {
    VeJson doc(R"({"text":"你好","ws":[{"w":"打开"},{"w":"QQ"}],"rc":4,"semantic":[{"slots":[{"name":"app","value":"微信"}]}]})");
    ASSERT_TRUE(doc.IsValid());
    doc.Insert("inserted", "中文");
    doc.Utf8ToUnicode();
    struct Case { const char* path; std::string gbk; };
    const std::vector<Case> cases = {
        {"text", "\xC4\xE3\xBA\xC3"},
        {"ws^w", "\xB4\xF2\xBF\xAA"},
        {"rc", "4"},
        {"inserted", "\xD6\xD0\xCE\xC4"},
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.path);
            EXPECT_EQ(doc.Get(c.path), c.gbk);
        }
        EXPECT_EQ(doc.GetJsonNodeText_All("ws^w"), "\xB4\xF2\xBF\xAA" "QQ");
        EXPECT_EQ(doc.GetBrotherLeaf("semantic^slots^name", "app", "semantic^slots^value", 2), "\xCE\xA2\xD0\xC5");
        doc.Utf8ToUnicode();  // the second call must not convert the GBK again
    }
}

TEST(VeJsonCopyTest, CopiesAreIndependent) {
    VeJson original(R"({"text":"打开QQ","slots":[{"name":"a","value":"1"}]})");
    VeJson copy(original);
    copy.Insert("text", "changed");
    copy.Insert("slots^name", "b", "slots^value", "2");
    copy.Utf8ToUnicode();
    EXPECT_EQ(original.Get("text"), "打开QQ");
    EXPECT_EQ(original.GetBrotherLeaf("slots^name", "b", "slots^value", 2), "");
    EXPECT_EQ(copy.Get("text"), "changed");
    EXPECT_EQ(copy.GetBrotherLeaf("slots^name", "b", "slots^value", 2), "2");

    VeJson assigned("[]");
    assigned = original;
    original.Insert("text", "later");
    EXPECT_TRUE(assigned.IsValid());
    EXPECT_EQ(assigned.Get("text"), "打开QQ");
    EXPECT_EQ(assigned.GetBrotherLeaf("slots^name", "a", "slots^value", 2), "1");

    // A converted document stays converted in its copy: converting the copy again is a no-op.
    VeJson converted(R"({"t":"你好"})");
    converted.Utf8ToUnicode();
    VeJson again(converted);
    again.Utf8ToUnicode();
    EXPECT_EQ(again.Get("t"), "\xC4\xE3\xBA\xC3");
}

}  // namespace
