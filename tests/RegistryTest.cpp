// The scene registries, and the scenes the semantic registry makes: the web search (on the
// engine's channel) and the open question answer.
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "scenes/base/SceneRegistry.h"
#include "scenes/semantic/VeJsonBaiduSearch.h"
#include "scenes/semantic/VeJsonOpenQA.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

using Lines = std::vector<std::string>;
using Registry = std::unique_ptr<VeBasicService> (*)(const std::string&);

std::string Q(const std::string& utf8) { return vesim::JsonQuote(utf8); }

const std::string kJay = "%E5%91%A8%E6%9D%B0%E4%BC%A6";  // 周杰伦

// Failure messages name the case instead of dumping its bytes.
template <typename Case>
    requires requires(const Case& c) { c.name; } || requires(const Case& c) { c.text; } ||
             requires(const Case& c) { c.word; } || requires(const Case& c) { c.key; }
void PrintTo(const Case& c, std::ostream* os) {
    if constexpr (requires { c.name; })
        *os << c.name;
    else if constexpr (requires { c.text; })
        *os << c.text;
    else if constexpr (requires { c.word; })
        *os << c.word;
    else if constexpr (requires { c.key; })
        *os << c.key;
}


// ---------------------------------------------------------------- keys

struct KeyCase {
    const char* key;
    LogType logType;
    bool answer;  // VeJsonOpenQA, else VeJsonBaiduSearch
};

class SemanticRegistryTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SemanticRegistryTest, MakesAFreshSceneForItsKey) {
    const auto& c = GetParam();
    auto scene = MakeSemanticScene(c.key);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->m_stdService, c.key);
    EXPECT_EQ(scene->m_stdText, "");
    EXPECT_EQ(scene->m_hIcon, nullptr);
    EXPECT_EQ(scene->m_logType, c.logType);
    if (c.answer)
        EXPECT_NE(dynamic_cast<VeJsonOpenQA*>(scene.get()), nullptr);
    else
        EXPECT_NE(dynamic_cast<VeJsonBaiduSearch*>(scene.get()), nullptr);
    // Each call makes its own scene.
    auto again = MakeSemanticScene(c.key);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again.get(), scene.get());
}

INSTANTIATE_TEST_SUITE_P(Registry, SemanticRegistryTest,
                         ::testing::Values(KeyCase{"baidusearch", LogType_WebSearch, false},
                                           KeyCase{"websearch", LogType_WebSearch, false},
                                           KeyCase{"openQA", LogType_Answer, true}));

struct RegistryCase {
    const char* name;
    Registry make;
};

class NoSceneTest : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(NoSceneTest, UnknownNamesMakeNothing) {
    for (const char* name : {"", "Websearch", "WEBSEARCH", "BaiduSearch", "openqa", "OpenQA", "rc_4", "rc=4",
                             "websearch ", " websearch", "baidusearch\n", "weather", "userself", "offasr"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(GetParam().make(name), nullptr);
    }
    EXPECT_EQ(GetParam().make(std::string("websearch\0x", 11)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Registry, NoSceneTest,
                         ::testing::Values(RegistryCase{"Semantic", MakeSemanticScene}, RegistryCase{"Tpp", MakeTppScene},
                                           RegistryCase{"Online", MakeOnlineScene},
                                           RegistryCase{"SlideShowPen", MakeSlideShowPenScene},
                                           RegistryCase{"NormalPen", MakeNormalPenScene}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- web search on a channel

struct ChannelCase {
    const char* name;
    const char* slots;  // JSON array of slots
    int logType;
    std::string url;
};

class WebSearchSceneTest : public SimTest, public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(WebSearchSceneTest, ChannelPicksTheSiteAndTheLogType) {
    const auto& c = GetParam();
    const std::string text = "搜索周杰伦";
    const std::string input = R"({"text":)" + Q(text) +
                              R"(,"rc":0,"service":"websearch","semantic":[{"intent":"search","slots":)" + c.slots +
                              "}]}";
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "websearch");
    EXPECT_EQ(Readable(Trace()), (Lines{"VeUI::InteractiveSet(null, 3)", "VeUI::Tray(" + Q(text) + ", 1)",
                                        "CAccountData::OpenUserSelf(" + Q(text) + ") -> false",
                                        "VeUI::VeShellExecuteA(" + Q(c.url) + ")",
                                        "VeUI::Log_2(" + Q(text) + ", " + std::to_string(c.logType) + ")"}));
}

INSTANTIATE_TEST_SUITE_P(
    Registry, WebSearchSceneTest,
    ::testing::Values(
        ChannelCase{"Youku", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"优酷"}])", 14,
                    "http://www.soku.com/search_video/q_" + kJay},
        ChannelCase{"YoukuLatin", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"youku"}])", 14,
                    "http://www.soku.com/search_video/q_" + kJay},
        ChannelCase{"Iqiyi", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"爱奇艺"}])", 14,
                    "http://so.iqiyi.com/so/q_" + kJay},
        ChannelCase{"TencentVideo", R"([{"name":"channel","value":"腾讯视频"},{"name":"keyword","value":"周杰伦"}])",
                    14, "http://v.qq.com/x/search/?q=" + kJay},
        ChannelCase{"Jd", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"京东"}])", 11,
                    "http://search.jd.com/search?keyword=" + kJay + "&enc=utf-8"},
        ChannelCase{"Tudou", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"土豆"}])", 11,
                    "http://www.soku.com/t/nisearch/" + kJay},
        ChannelCase{"UnknownChannel", R"([{"name":"keyword","value":"周杰伦"},{"name":"channel","value":"某站"}])",
                    11, "https://www.baidu.com/s?wd=" + kJay + "&enc=utf-8"},
        ChannelCase{"NoChannel", R"([{"name":"keyword","value":"周杰伦"}])", 11,
                    "https://www.baidu.com/s?wd=" + kJay + "&enc=utf-8"},
        ChannelCase{"NoKeyword", R"([{"name":"channel","value":"京东"}])", 11, "https://www.baidu.com/"},
        ChannelCase{"NoSlots", "[]", 11, "https://www.baidu.com/"}),
    [](const auto& info) { return std::string(info.param.name); });

class SceneParseTest : public SimTest {};

TEST_F(SceneParseTest, TheKeyDecidesWhereTheKeywordIsRead) {
    // Both a slot keyword and a rewritten keyword: each key reads its own.
    VeJson doc(R"({"velmoraKeyword":"甲","semantic":[{"slots":[{"name":"keyword","value":"乙"}]}]})");
    ASSERT_TRUE(doc.IsValid());
    doc.Utf8ToUnicode();
    for (const char* key : {"baidusearch", "websearch"}) {
        sim->ClearTrace();
        auto scene = MakeSemanticScene(key);
        ASSERT_NE(scene, nullptr);
        scene->Parse(doc);
        EXPECT_EQ(scene->Execute(), 1);
        const std::string keyword = std::string(key) == "baidusearch" ? "%E7%94%B2" : "%E4%B9%99";
        EXPECT_EQ(Opened(), Lines{"https://www.baidu.com/s?wd=" + keyword + "&enc=utf-8"}) << key;
    }
}

TEST_F(SceneParseTest, AnswerNeedsAText) {
    struct {
        const char* doc;
        int result;
        Lines trace;
    } cases[] = {
        {R"({"answer":{"text":"四十二"}})", 1, {R"(VeUI::Tray_2("问题"))", R"(VeUI::InteractiveSet("四十二", 2))"}},
        {R"({"answer":{"text":""}})", 0, {}},
        {R"({"answer":{}})", 0, {}},
        {R"({"answer":"四十二"})", 0, {}},
        {R"({})", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.doc);
        sim->ClearTrace();
        VeJson doc(c.doc);
        ASSERT_TRUE(doc.IsValid());
        doc.Utf8ToUnicode();
        auto scene = MakeSemanticScene("openQA");
        ASSERT_NE(scene, nullptr);
        scene->SetText(VeChar::VeUtf8_2_UnicodeChar("问题"));
        scene->Parse(doc);
        EXPECT_EQ(scene->Execute(), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

}  // namespace
