// The flattened JSON document: leaf paths and texts, refusal of bad input, array-element
// scoping for brother leaves, inserted leaves, the one-time GBK conversion and copies.
#include "TestSupport.h"
#include "host/VeJson.h"

namespace {

using namespace std::string_literals;
using vetest::Lines;

Lines TextsAt(const VeJson& doc, const char* path) {
    Lines texts;
    doc.GetNodeTextVector(path, texts);
    return texts;
}

TEST(VeJsonLeafTest, ReadsEachLeafAtItsPath) {
    const struct { std::string json; const char* path; std::string text; } cases[] = {
        // Numbers read as their JSON text, never reformatted.
        {R"({"rc":4})", "rc", "4"}, {R"({"n":-0})", "n", "-0"}, {R"({"n":1.50})", "n", "1.50"},
        {R"({"n":-2.5E-3})", "n", "-2.5E-3"}, {R"({"n":1e-400})", "n", "1e-400"},
        {R"({"n":123456789012345678901234567890})", "n", "123456789012345678901234567890"},
        {R"({"b":true})", "b", "true"}, {R"({"z":null,"after":1})", "z", ""},
        {R"({"s":"a\"b\\c\/d\n\t"})", "s", "a\"b\\c/d\n\t"}, {R"({"s":"\u4f60\u597D"})", "s", "你好"},
        {R"({"s":"\ud83d\ude00"})", "s", "\xF0\x9F\x98\x80"}, {R"({"s":"a\u0000b"})", "s", "a\0b"s},
        {"{\"s\":\"\xEF\xBF\xBD\"}", "s", "\xEF\xBF\xBD"},
        // Keys are joined with '^'; array levels add nothing, empty keys still join.
        {R"({"a":{"b":{"c":"x"}}})", "a^b^c", "x"}, {R"({"a":[{"b":"x"}]})", "a^b", "x"},
        {R"({"a":[[["x"]]]})", "a", "x"}, {R"({"a":[7,8]})", "a", "7"},
        {R"([{"a":"x"},{"b":"y"}])", "b", "y"}, {R"([[{"a":{"b":"x"}}]])", "a^b", "x"},
        {R"("x")", "", "x"}, {R"({"":"x"})", "", "x"}, {R"({"":{"b":"x"}})", "^b", "x"},
        {R"({"a":{"":"x"}})", "a^", "x"},
        {R"({"a":{"b":1},"c":"x"})", "c", "x"}, {R"({"a":[{"b":1}],"c":{"d":"x"}})", "c^d", "x"},
        {R"({"a":[{"b":1},"x"]})", "a", "x"}, {R"({"语义":{"意图":"x"}})", "语义^意图", "x"},
        {" \r\n\t{ \"a\" : \"x\" }\n ", "a", "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        VeJson doc(c.json.c_str(), c.json.size());
        ASSERT_TRUE(doc.IsValid());
        EXPECT_EQ(doc.Get(c.path), c.text);
    }
}

TEST(VeJsonLeafTest, MissingPathsReadEmptyAndAllLeavesComeInDocumentOrder) {
    VeJson doc(R"({"ws":[{"cw":[{"w":"打开"},{"w":"微"}]},{"cw":[{"w":"信"}]}],"w":"top","n":[1,2.5,null,true]})");
    ASSERT_TRUE(doc.IsValid());
    for (const char* path : {"", "cw", "ws", "ws^cw^w^x", "ws^", "^ws^cw^w", "WS^CW^W", "w "}) {
        EXPECT_EQ(doc.Get(path), "") << path;
    }
    EXPECT_EQ(doc.Get(nullptr), "");
    EXPECT_TRUE(TextsAt(doc, "zzz").empty());
    EXPECT_EQ(doc.GetJsonNodeText_All("zzz"), "");
    EXPECT_EQ(TextsAt(doc, "ws^cw^w"), (Lines{"打开", "微", "信"}));
    EXPECT_EQ(doc.GetJsonNodeText_All("ws^cw^w"), "打开微信");
    EXPECT_EQ(doc.Get("ws^cw^w"), "打开");
    EXPECT_EQ(TextsAt(doc, "n"), (Lines{"1", "2.5", "", "true"}));
    EXPECT_EQ(TextsAt(doc, "w"), Lines{"top"});
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
    VeJson many((array + "]}").c_str());
    ASSERT_TRUE(many.IsValid());
    const auto texts = TextsAt(many, "a");
    ASSERT_EQ(texts.size(), 100000u);
    EXPECT_EQ(texts.back(), "99999");
}

TEST(VeJsonRefusalTest, BadTextIsInvalidWithNoLeaves) {
    const std::vector<std::string> bad = {
        "", " \n\t", R"({"a":1}x)", R"({"a":1}{"b":2})", R"({"a":1,})", R"([1,])", R"({'a':1})", R"({a:1})",
        R"({"a":01})", R"({"a":.5})", R"({"a":1.})", R"({"a":+1})", R"({"a":NaN})", R"({"a":Infinity})",
        R"({"a":1 /* c */})", R"({"a":TRUE})", R"({"a":1 "b":2})", R"({"a":[1}})",
        // Escapes: unknown, short, and surrogates that do not pair.
        R"({"a":"\x41"})", R"({"a":"\u12"})", R"({"a":"\ud800"})", R"({"a":"\ud800x"})", R"({"a":"\udc00"})",
        R"({"\udc00":1})",
        // Raw control characters, invalid UTF-8 in values and keys, and NULs inside the length.
        "{\"a\":\"x\ny\"}", "{\"a\":\"x\ty\"}", "{\"a\":\"\xFF\"}", "{\"a\":\"\xC0\xAF\"}", "{\"a\":\"\xED\xA0\x80\"}",
        "{\"a\":\"\xE4\xBD\"}", "{\"\xFF\":1}", "{\"k\xE4\":1}", "{\"a\":1}\0{\"b\":2}"s, "{\"a\":\"x\0y\"}"s,
    };
    for (const auto& json : bad) {
        SCOPED_TRACE(json);
        VeJson doc(json.data(), json.size());
        EXPECT_FALSE(doc.IsValid());
        EXPECT_TRUE(doc.LeafCount() == 0);
        EXPECT_EQ(doc.Get("a"), "");
        EXPECT_EQ(doc.GetJsonNodeText_All("a"), "");
    }
    VeJson null(nullptr), nullWithLength(nullptr, 10);
    EXPECT_FALSE(null.IsValid());
    EXPECT_FALSE(nullWithLength.IsValid());
    EXPECT_TRUE(null.LeafCount() == 0);
}

TEST(VeJsonRefusalTest, EveryProperPrefixOfADocumentIsInvalid) {
    const std::string text = R"({"text":"打开","rc":0,"ws":[{"w":"x","sc":1.5}],"ok":true,"n":null,"e":"\u4f60"})";
    ASSERT_TRUE(VeJson(text.data(), text.size()).IsValid());
    for (size_t n = 0; n < text.size(); ++n) {
        SCOPED_TRACE(n);
        // A heap copy of exactly the prefix, so reading past it would be caught by the sanitizer.
        const std::vector<char> prefix(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        VeJson doc(prefix.data(), prefix.size());
        EXPECT_FALSE(doc.IsValid());
        EXPECT_TRUE(doc.LeafCount() == 0);
    }
}

TEST(VeJsonRefusalTest, NestingUpToTheLimitOnly) {
    for (const auto& [depth, valid] : std::vector<std::pair<size_t, bool>>{
             {1, true}, {VeJson::kMaxDepth, true}, {VeJson::kMaxDepth + 1, false}, {100000, false}}) {
        SCOPED_TRACE(depth);
        std::string objects;
        for (size_t i = 0; i < depth; ++i) objects += "{\"k\":";
        VeJson a((std::string(depth, '[') + "1" + std::string(depth, ']')).c_str());
        EXPECT_EQ(a.IsValid(), valid);
        EXPECT_EQ(a.Get(""), valid ? "1" : "");
        VeJson o((objects + "1" + std::string(depth, '}')).c_str());
        EXPECT_EQ(o.IsValid(), valid);
        EXPECT_EQ(o.LeafCount(), valid ? 1u : 0u);
        EXPECT_FALSE(VeJson(std::string(depth, '[').c_str()).IsValid());
    }
}

// Two semantic entries whose slots share names: a brother leaf must come from the element of
// the matching name, never from a neighbour.
const char* const kSemantic = R"({
  "semantic":[
    {"intent":"OPEN","slots":[{"name":"app","value":"微信"},{"name":"site","value":"淘宝"}]},
    {"intent":"SEARCH","slots":[{"name":"keyword","value":"稻香"},{"name":"site"},{"name":"app","value":"QQ"}]}
  ],
  "text":"打开微信"
})";
const char* const kName = "semantic^slots^name";
const char* const kValue = "semantic^slots^value";
const char* const kIntent = "semantic^intent";

// The value of the slot `name` in a document of "slots":[{"name":..,"value":..}].
std::string Slot(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("slots^name", name, "slots^value", 2);
}

TEST(VeJsonBrotherTest, FindsTheValueInTheSameElementOnly) {
    VeJson doc(kSemantic);
    ASSERT_TRUE(doc.IsValid());
    const struct { const char* namePath; const char* name; const char* valuePath; int level; std::string expected; }
        cases[] = {
            {kName, "app", kValue, 2, "微信"},       {kName, "site", kValue, 2, "淘宝"},
            {kName, "keyword", kValue, 2, "稻香"},   {kName, "missing", kValue, 2, ""},
            {kName, "app", "semantic^slots^other", 2, ""}, {kValue, "QQ", kName, 2, "app"},
            // Entry-level scope: the first slot value inside the entry with that intent.
            {kIntent, "SEARCH", kValue, 3, "稻香"},  {kIntent, "OPEN", kName, 3, "app"},
            {kIntent, "SEARCH", kIntent, 3, "SEARCH"}, {kIntent, "NONE", kValue, 3, ""},
            {nullptr, "app", kValue, 2, ""},         {kName, nullptr, kValue, 2, ""}, {kName, "app", nullptr, 2, ""},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.namePath ? c.namePath : "null") << "=" << (c.name ? c.name : "null"));
        EXPECT_EQ(doc.GetBrotherLeaf(c.namePath, c.name, c.valuePath, c.level), c.expected);
    }
    // A slot without a value does not borrow a neighbour's; of duplicate names the first
    // element that has the value counts.
    VeJson slots(R"({"slots":[{"name":"a","value":"1"},{"name":"b"},{"name":"c","value":"3"},{"name":"d"},)"
                 R"({"name":"d","value":"4"}]})");
    ASSERT_TRUE(slots.IsValid());
    EXPECT_EQ(Slot(slots, "b"), "");
    EXPECT_EQ(Slot(slots, "c"), "3");
    EXPECT_EQ(Slot(slots, "d"), "4");
}

TEST(VeJsonBrotherTest, ElementNumbersPastOneDigitAndKeysWithNul) {
    // Element 1 must not be taken for the start of element 11 and up.
    std::string many = R"({"slots":[)";
    for (int i = 0; i < 30; ++i) many += (i ? "," : "") + ("{\"name\":\"n" + std::to_string(i) + "\"}");
    VeJson doc((many + R"(,{"name":"last","value":"v"}]})").c_str());
    ASSERT_TRUE(doc.IsValid());
    for (const char* name : {"n1", "n2", "n11", "n29"}) EXPECT_EQ(Slot(doc, name), "") << name;
    EXPECT_EQ(Slot(doc, "last"), "v");

    const std::string nul = "{\"a\\u0000b\":[{\"k\":\"x\"}]}";
    VeJson keyed(nul.c_str());
    ASSERT_TRUE(keyed.IsValid());
    EXPECT_EQ(keyed.Get("a"), "");
    EXPECT_EQ(keyed.LeafCount(), 1u);
}

TEST(VeJsonInsertTest, InsertedLeavesWinAndPairsAreTheirOwnElement) {
    VeJson doc(kSemantic);
    doc.Insert("text", "打开QQ");
    doc.Insert("new^path", "x");
    EXPECT_EQ(doc.Get("text"), "打开QQ");
    EXPECT_EQ(doc.Get("new^path"), "x");
    EXPECT_EQ(TextsAt(doc, "text"), (Lines{"打开QQ", "打开微信"}));
    doc.Insert("text", "third");
    EXPECT_EQ(doc.Get("text"), "third");

    doc.Insert(kName, "city", kValue, "北京");
    doc.Insert(kName, "date", kValue, "明天");
    EXPECT_EQ(doc.GetBrotherLeaf(kName, "city", kValue, 2), "北京");
    EXPECT_EQ(doc.GetBrotherLeaf(kName, "date", kValue, 2), "明天");
    // The parsed elements keep their own values.
    EXPECT_EQ(doc.GetBrotherLeaf(kName, "site", kValue, 2), "淘宝");
    EXPECT_EQ(doc.GetBrotherLeaf(kIntent, "SEARCH", kValue, 3), "稻香");

    VeJson invalid("not json");
    invalid.Insert("a", "x");
    invalid.Insert("slots^name", "k", "slots^value", "y");
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(invalid.Get("a"), "x");
    EXPECT_EQ(Slot(invalid, "k"), "y");
}

TEST(VeJsonGbkTest, ConvertsTextsAndKeepsPaths) {
    VeJson doc(R"({"text":"你好","ws":[{"w":"打开"},{"w":"QQ"}],"rc":4,"slots":[{"name":"app","value":"微信"}]})");
    ASSERT_TRUE(doc.IsValid());
    doc.Insert("inserted", "中文");
    doc.Utf8ToUnicode();
    EXPECT_EQ(doc.Get("text"), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(doc.Get("rc"), "4");
    EXPECT_EQ(doc.Get("inserted"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(doc.GetJsonNodeText_All("ws^w"), "\xB4\xF2\xBF\xAA" "QQ");
    EXPECT_EQ(Slot(doc, "app"), "\xCE\xA2\xD0\xC5");
}

TEST(VeJsonCopyTest, CopiesAreIndependent) {
    VeJson original(R"({"text":"打开QQ","slots":[{"name":"a","value":"1"}]})");
    VeJson copy(original);
    copy.Insert("text", "changed");
    copy.Insert("slots^name", "b", "slots^value", "2");
    copy.Utf8ToUnicode();
    EXPECT_EQ(original.Get("text"), "打开QQ");
    EXPECT_EQ(Slot(original, "b"), "");
    EXPECT_EQ(copy.Get("text"), "changed");
    EXPECT_EQ(Slot(copy, "b"), "2");

    VeJson assigned("[]");
    assigned = original;
    original.Insert("text", "later");
    EXPECT_TRUE(assigned.IsValid());
    EXPECT_EQ(assigned.Get("text"), "打开QQ");
    EXPECT_EQ(Slot(assigned, "a"), "1");

    // A converted document's copy holds the GBK texts.
    VeJson converted(R"({"t":"你好"})");
    converted.Utf8ToUnicode();
    EXPECT_EQ(VeJson(converted).Get("t"), "\xC4\xE3\xBA\xC3");
}

}  // namespace
