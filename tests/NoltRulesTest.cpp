// The reference online service's rules: pattern matching, the rule file's format and faults,
// and that its replies read back as the online scenes expect.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "nolt-server/NoltRules.h"
#include "scenes/online/NoltSceneApp.h"
#include "scenes/online/NoltSceneWebsite.h"

using namespace vetest;

namespace {

TEST(NoltRulesTest, PatternMatchesTheWholeTextAndCapturesEachStar) {
    const struct { const char* pattern; const char* text; bool match; Lines captures; } cases[] = {
        {"打开*", "打开微信", true, {"微信"}},
        {"打开*", "打开", true, {""}},
        {"打开*", "请打开微信", false, {}},
        {"*买*买*", "买买买", true, {"", "", "买"}},
        {"*a*b", "xaybab", true, {"x", "yba"}},
        {"打开qq", "打开QQ", true, {}},
        {"*", "", true, {""}},
        {"你好", "你好呀", false, {}},
        {"", "", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + c.text);
        Lines captures;
        EXPECT_EQ(nolt::MatchPattern(c.pattern, c.text, captures), c.match);
        if (c.match) {
            EXPECT_EQ(captures, c.captures);
        }
    }
    // Backtracking stays bounded on a long text that almost matches.
    Lines captures;
    EXPECT_FALSE(nolt::MatchPattern("*a*a*a*b", std::string(20000, 'a'), captures));
}

TEST(NoltRulesTest, FirstMatchingRuleAnswersWithCapturesFilledIn) {
    nolt::RuleSet rules;
    std::string error;
    ASSERT_TRUE(rules.Load("\xEF\xBB\xBF# comment\n\n"
                           "打开微信 | application | 微信 | app=微信; action=打开\r\n"
                           "打开* | application | $1 | app=$1; action=打开\n"
                           "我想听* | music | http://www.kugou.com/#q=$u1\n"
                           "价格* | chat | 要 \\$$1 元\\n 谢谢 \\| 好\n"
                           "等式 | chat | | v=a\\=b\\;c\n",
                           error))
        << error;
    const struct { const char* text; std::string json; } cases[] = {
        {" 打开微信 ", R"({"scene":"application","message":"微信","content":{"entities":[{"entity":"app","value":"微信"},)"
                      R"({"entity":"action","action":"action","value":"打开"}]}})"},
        {"打开QQ", R"({"scene":"application","message":"QQ","content":{"entities":[{"entity":"app","value":"QQ"},)"
                   R"({"entity":"action","action":"action","value":"打开"}]}})"},
        {"我想听稻香", R"({"scene":"music","message":"http://www.kugou.com/#q=%E7%A8%BB%E9%A6%99","content":{"entities":[]}})"},
        {"价格5", R"({"scene":"chat","message":"要 $5 元\\n 谢谢 | 好","content":{"entities":[]}})"},
        {"等式", R"({"scene":"chat","message":"","content":{"entities":[{"entity":"v","value":"a=b;c"}]}})"},
        {"今天吃什么", R"({"scene":"nothing"})"},
        {"打开\xFF", R"({"scene":"nothing"})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(nolt::ToJson(rules.Answer(c.text)), c.json);
        EXPECT_TRUE(VeJson(c.json.c_str()).IsValid());
    }
}

TEST(NoltRulesTest, MalformedRuleIsRefusedWithItsLine) {
    const struct { const char* text; const char* error; } cases[] = {
        {"# ok\n你好\n", "line 2: expected: pattern | scene [| message [| entities]]"},
        {"a | b | c | d | e", "line 1: expected: pattern | scene [| message [| entities]]"},
        {" | chat | x", "line 1: empty pattern or scene"},
        {"打开* | application | $2", "line 1: $2 but the pattern has 1 '*'"},
        {"打开 | application | | app=$u1", "line 1: $1 but the pattern has 0 '*'"},
        {"打开* | application | $", "line 1: '$' without a capture number"},
        {"打开* | application | | app", "line 1: entity without name=value: app"},
        {"\xE6\x89 | chat", "line 1: not UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        nolt::RuleSet rules;
        std::string error;
        ASSERT_TRUE(rules.Load("x | chat", error));
        EXPECT_FALSE(rules.Load(c.text, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(rules.size(), 1u);  // the rules loaded before stay
    }
}

TEST(NoltRulesTest, RepliesReadBackAsTheScenesExpect) {
    nolt::RuleSet rules;
    std::string error;
    ASSERT_TRUE(rules.Load("卸载* | application | | app=$1; action=卸载\n"
                           "帮我在淘宝搜* | website | | action=淘宝买$1; website=淘宝\n",
                           error));
    const auto parsed = [&](VeBasicService& scene, const char* text) {
        VeJson doc(nolt::ToJson(rules.Answer(text)).c_str());
        doc.Utf8ToUnicode();
        scene.Parse(doc);
    };
    NoltSceneApp app;
    parsed(app, "卸载迅雷");
    EXPECT_EQ(Utf8(app.m_stdApp + "," + app.m_stdAction), "迅雷,卸载");
    NoltSceneWebsite site;
    parsed(site, "帮我在淘宝搜手机");
    EXPECT_EQ(Utf8(site.m_stdAction + "," + site.m_stdWebsite), "淘宝买手机,淘宝");
}

TEST(NoltRulesTest, ShippedRulesLoadAndCoverEveryOnlineScene) {
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "nolt-rules.txt";
    std::ifstream file(path, std::ios::binary);
    if (!file) GTEST_SKIP() << "no source tree at " << path.string();
    std::ostringstream text;
    text << file.rdbuf();
    nolt::RuleSet rules;
    std::string error;
    ASSERT_TRUE(rules.Load(text.str(), error)) << error;

    const struct { const char* text; const char* scene; } cases[] = {
        {"订火车票", "train"}, {"订机票", "flight"}, {"在京东买手机", "shopping"}, {"打开百度", "website"},
        {"看新闻", "news"}, {"卸载迅雷", "application"}, {"我想听稻香", "music"}, {"北京的天气", "weather"},
        {"我想看流浪地球", "video"}, {"量子是什么意思", "rc_4"}, {"启动记事本", "lnk"}, {"截个图", "cmd"},
        {"嗯", "nothing"}, {"搜索周杰伦", "websearch"}, {"讲个笑话", "chat"}, {"随便说点什么吧", "nothing"},
    };
    std::set<std::string> scenes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const nolt::Reply reply = rules.Answer(c.text);
        EXPECT_EQ(reply.scene, c.scene);
        if (reply.message.find("://") != std::string::npos) {
            EXPECT_TRUE(reply.message.starts_with("http://") || reply.message.starts_with("https://")) << reply.message;
        }
        scenes.insert(reply.scene);
    }
    EXPECT_EQ(scenes.size(), 15u);
}

}  // namespace
