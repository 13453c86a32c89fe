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
        {R"({"n":-0})", "n", "-0"}, {R"({"n":-2.5E-3})", "n", "-2.5E-3"}, {R"({"n":1e-400})", "n", "1e-400"},
        {R"({"n":123456789012345678901234567890})", "n", "123456789012345678901234567890"},
        {R"({"z":null,"after":1})", "z", ""}, {R"({"s":"a\"b\\c\/d\n\t"})", "s", "a\"b\\c/d\n\t"},
        {R"({"s":"\u4f60\u597D"})", "s", "你好"}, {R"({"s":"\ud83d\ude00"})", "s", "\xF0\x9F\x98\x80"},
        {R"({"s":"a\u0000b"})", "s", "a\0b"s}, {R"({"한":"한\ud55c"})", "한", "한한"},
        // Keys are joined with '^'; array levels add nothing, empty keys still join.
        {R"({"a":[{"b":"x"}]})", "a^b", "x"}, {R"({"a":[[["x"]]]})", "a", "x"}, {R"([[{"a":{"b":"x"}}]])", "a^b", "x"},
        {R"("x")", "", "x"}, {R"({"":{"b":"x"}})", "^b", "x"}, {R"({"a":{"":"x"}})", "a^", "x"},
        {R"({"a":[{"b":1}],"c":{"d":"x"}})", "c^d", "x"}, {R"({"a":[{"b":1},"x"]})", "a", "x"},
        {R"({"语义":{"意图":"x"}})", "语义^意图", "x"}, {" \r\n\t{ \"a\" : \"x\" }\n ", "a", "x"},
    };
    for (const auto& c : cases) {
        VeJson doc(c.json.c_str(), c.json.size());
        ASSERT_TRUE(doc.IsValid()) << c.json;
        EXPECT_EQ(doc.Get(c.path), c.text) << c.json;
    }
}

TEST(VeJsonLeafTest, MissingPathsReadEmptyAndAllLeavesComeInDocumentOrder) {
    VeJson doc(R"({"ws":[{"cw":[{"w":"打开"},{"w":"微"}]},{"cw":[{"w":"信"}]}],"w":"top","n":[1,2.5,null,true]})");
    for (const char* path : {"", "cw", "ws", "ws^cw^w^x", "ws^", "^ws^cw^w", "WS^CW^W", "w "}) EXPECT_EQ(doc.Get(path), "") << path;
    EXPECT_EQ(doc.Get(nullptr), "");
    EXPECT_TRUE(TextsAt(doc, "zzz").empty());
    EXPECT_EQ(TextsAt(doc, "ws^cw^w"), (Lines{"打开", "微", "信"}));
    EXPECT_EQ(doc.GetJsonNodeText_All("ws^cw^w"), "打开微信");
    EXPECT_EQ(TextsAt(doc, "n"), (Lines{"1", "2.5", "", "true"}));
    // A key holding a NUL is no shorter key.
    VeJson keyed("{\"a\\u0000b\":[{\"k\":\"x\"}]}");
    EXPECT_TRUE(keyed.IsValid() && keyed.LeafCount() == 1);
    EXPECT_EQ(keyed.Get("a"), "");
    const std::string big(1 << 20, 'x');
    EXPECT_EQ(VeJson((R"({"a":")" + big + R"("})").c_str()).Get("a"), big);
}

TEST(VeJsonRefusalTest, BadTextIsInvalidWithNoLeaves) {
    const std::vector<std::string> bad = {
        "", " \n\t", R"({"a":1}x)", R"({"a":1}{"b":2})", R"({"a":1,})", R"([1,])", R"({'a':1})", R"({a:1})",
        R"({"a":01})", R"({"a":.5})", R"({"a":1.})", R"({"a":+1})", R"({"a":NaN})", R"({"a":1 /* c */})",
        R"({"a":TRUE})", R"({"a":1 "b":2})", R"({"a":[1}})",
        // Escapes: unknown, short, and surrogates that do not pair.
        R"({"a":"\x41"})", R"({"a":"\u12"})", R"({"a":"\ud800x"})", R"({"a":"\udc00"})", R"({"\udc00":1})",
        // Raw control characters, invalid UTF-8 in values and keys, and NULs inside the length.
        "{\"a\":\"x\ny\"}", "{\"a\":\"\xFF\"}", "{\"a\":\"\xC0\xAF\"}", "{\"a\":\"\xED\xA0\x80\"}",
        "{\"a\":\"\xE4\xBD\"}", "{\"k\xE4\":1}", "{\"a\":1}\0{\"b\":2}"s, "{\"a\":\"x\0y\"}"s,
    };
    for (const auto& json : bad) {
        VeJson doc(json.data(), json.size());
        EXPECT_FALSE(doc.IsValid()) << json;
        EXPECT_TRUE(doc.LeafCount() == 0) << json;
        EXPECT_EQ(doc.Get("a"), "") << json;
    }
    EXPECT_FALSE(VeJson(nullptr).IsValid());
    EXPECT_FALSE(VeJson(nullptr, 10).IsValid());

    // Every proper prefix, each a heap copy of exactly its bytes so a read past it is caught.
    const std::string text = R"({"text":"打开","rc":0,"ws":[{"w":"x","sc":1.5}],"ok":true,"n":null,"e":"\u4f60"})";
    ASSERT_TRUE(VeJson(text.data(), text.size()).IsValid());
    for (size_t n = 0; n < text.size(); ++n) {
        const std::vector<char> prefix(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        VeJson doc(prefix.data(), prefix.size());
        EXPECT_FALSE(doc.IsValid()) << n;
        EXPECT_TRUE(doc.LeafCount() == 0) << n;
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
const char* const kSemantic = R"({"semantic":[
    {"intent":"OPEN","slots":[{"name":"app","value":"微信"},{"name":"site","value":"淘宝"}]},
    {"intent":"SEARCH","slots":[{"name":"keyword","value":"稻香"},{"name":"site"},{"name":"app","value":"QQ"}]}],
  "text":"打开微信"})";
const char* const kName = "semantic^slots^name";
const char* const kValue = "semantic^slots^value";
const char* const kIntent = "semantic^intent";

// The value of the slot `name` in a document of "slots":[{"name":..,"value":..}].
std::string Slot(const VeJson& doc, const char* name) { return doc.GetBrotherLeaf("slots^name", name, "slots^value", 2); }

TEST(VeJsonBrotherTest, FindsTheValueInTheSameElementOnly) {
    VeJson doc(kSemantic);
    ASSERT_TRUE(doc.IsValid());
    const struct { const char* namePath; const char* name; const char* valuePath; int level; std::string expected; }
        cases[] = {
            {kName, "app", kValue, 2, "微信"},       {kName, "site", kValue, 2, "淘宝"},
            {kName, "missing", kValue, 2, ""},       {kName, "app", "semantic^slots^other", 2, ""},
            {kValue, "QQ", kName, 2, "app"},
            // Entry-level scope: the first slot value inside the entry with that intent.
            {kIntent, "SEARCH", kValue, 3, "稻香"},  {kIntent, "SEARCH", kIntent, 3, "SEARCH"},
            {kIntent, "NONE", kValue, 3, ""},
            {nullptr, "app", kValue, 2, ""},         {kName, nullptr, kValue, 2, ""}, {kName, "app", nullptr, 2, ""},
        };
    for (const auto& c : cases)
        EXPECT_EQ(doc.GetBrotherLeaf(c.namePath, c.name, c.valuePath, c.level), c.expected)
            << (c.namePath ? c.namePath : "null") << "=" << (c.name ? c.name : "null");
    // A slot without a value does not borrow a neighbour's (element 1 must not be taken for the
    // start of element 11 and up); of duplicate names the first element with the value counts.
    std::string many = R"({"slots":[)";
    for (int i = 0; i < 30; ++i) many += "{\"name\":\"n" + std::to_string(i) + "\"},";
    VeJson slots((many + R"({"name":"n1","value":"v"}]})").c_str());
    ASSERT_TRUE(slots.IsValid());
    for (const char* name : {"n2", "n11", "n29"}) EXPECT_EQ(Slot(slots, name), "") << name;
    EXPECT_EQ(Slot(slots, "n1"), "v");
}

TEST(VeJsonInsertTest, InsertedLeavesWinAndPairsAreTheirOwnElement) {
    VeJson doc(kSemantic);
    doc.Insert("text", "打开QQ");
    EXPECT_EQ(TextsAt(doc, "text"), (Lines{"打开QQ", "打开微信"}));
    doc.Insert("text", "third");
    EXPECT_EQ(doc.Get("text"), "third");

    doc.Insert(kName, "city", kValue, "北京");
    doc.Insert(kName, "date", kValue, "明天");
    // Each pair is its own element; the parsed elements keep their own values.
    for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
             {"city", "北京"}, {"date", "明天"}, {"site", "淘宝"}}) {
        EXPECT_EQ(doc.GetBrotherLeaf(kName, name, kValue, 2), value);
    }
    EXPECT_EQ(doc.GetBrotherLeaf(kIntent, "SEARCH", kValue, 3), "稻香");

    VeJson invalid("not json");
    invalid.Insert("a", "x");
    invalid.Insert("slots^name", "k", "slots^value", "y");
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(invalid.Get("a"), "x");
    EXPECT_EQ(Slot(invalid, "k"), "y");
}

TEST(VeJsonCopyTest, ConversionToGbkAndCopiesAreIndependent) {
    VeJson original(R"({"text":"打开QQ","ws":[{"w":"你好"}],"rc":4,"slots":[{"name":"a","value":"微信"}]})");
    VeJson copy(original);
    copy.Insert("inserted", "中文");
    copy.Insert("slots^name", "b", "slots^value", "2");
    copy.Utf8ToUnicode();
    EXPECT_EQ(Slot(original, "b"), "");
    EXPECT_EQ(copy.Get("text"), "\xB4\xF2\xBF\xAA" "QQ");
    EXPECT_EQ(copy.Get("inserted"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(copy.GetJsonNodeText_All("ws^w"), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(Slot(copy, "a"), "\xCE\xA2\xD0\xC5");
    EXPECT_EQ(Slot(copy, "b"), "2");
    // A converted document's copy holds the GBK texts.
    EXPECT_EQ(VeJson(copy).Get("text"), copy.Get("text"));

    VeJson assigned("[]");
    assigned = original;
    original.Insert("text", "later");
    EXPECT_EQ(assigned.Get("text"), "打开QQ");
}

}  // namespace
