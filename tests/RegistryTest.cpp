// The scene registries, and the web search scene the semantic registry makes (on the
// engine's channel or on the rewritten keyword).
#include "TestSupport.h"
#include "host/VeJson.h"
#include "scenes/base/SceneRegistry.h"
#include "scenes/semantic/VeJsonBaiduSearch.h"
#include "scenes/semantic/VeJsonOpenQA.h"

using namespace vetest;

namespace {

using Registry = std::unique_ptr<VeBasicService> (*)(const std::string&);

TEST(RegistryTest, SemanticKeysMakeAFreshSceneEachTime) {
    // answer: a VeJsonOpenQA, else a VeJsonBaiduSearch.
    const struct { const char* key; LogType logType; bool answer; } cases[] = {
        {"baidusearch", LogType_WebSearch, false}, {"websearch", LogType_WebSearch, false},
        {"openQA", LogType_Answer, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        auto scene = MakeSemanticScene(c.key);
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(scene->m_stdService, c.key);
        EXPECT_EQ(scene->m_logType, c.logType);
        EXPECT_EQ(dynamic_cast<VeJsonOpenQA*>(scene.get()) != nullptr, c.answer);
        EXPECT_EQ(dynamic_cast<VeJsonBaiduSearch*>(scene.get()) != nullptr, !c.answer);
        EXPECT_NE(MakeSemanticScene(c.key).get(), scene.get());
    }
}

TEST(RegistryTest, OtherNamesMakeNothing) {
    const std::vector<std::string> names = {
        "", "Websearch", "WEBSEARCH", "BaiduSearch", "openqa", "OpenQA", "rc_4", "RC=4", "websearch ", " websearch",
        "userself", "offasr_p", "baidusearch\n", {"websearch\0x", 11}};
    for (const auto& name : names) EXPECT_EQ(MakeSemanticScene(name), nullptr) << Q(name);
    // Keys belong to their own registry only; "website" is a normal-pen key but no slide-show key.
    const Registry others[] = {MakeTppScene, MakeOnlineScene, MakeSlideShowPenScene, MakeNormalPenScene};
    for (const std::string name : {"baidusearch", "websearch", "openQA", "", "rc_4", "offasr", "url", "Ppt"}) {
        for (size_t i = 0; i < std::size(others); ++i) EXPECT_EQ(others[i](name), nullptr) << Q(name) << " in " << i;
    }
    EXPECT_EQ(MakeSlideShowPenScene("website"), nullptr);
    EXPECT_NE(MakeNormalPenScene("website"), nullptr);
}

class WebSearchSceneTest : public SimTest {};

TEST_F(WebSearchSceneTest, KeyAndChannelPickKeywordSiteAndLogType) {
    // The baidusearch key reads the rewritten keyword (甲); websearch reads the keyword slot (周杰伦) and its channel.
    const struct { const char* key; const char* channel; bool keyword; LogType logType; std::string url; } cases[] = {
        {"baidusearch", "优酷", true, LogType_WebSearch, "https://www.baidu.com/s?wd=%E7%94%B2&enc=utf-8"},
        {"websearch", "优酷", true, LogType_Video, "http://www.soku.com/search_video/q_" + kJay},
        {"websearch", "youku", true, LogType_Video, "http://www.soku.com/search_video/q_" + kJay},
        {"websearch", "爱奇艺", true, LogType_Video, "http://so.iqiyi.com/so/q_" + kJay},
        {"websearch", "腾讯视频", true, LogType_Video, "http://v.qq.com/x/search/?q=" + kJay},
        {"websearch", "京东", true, LogType_WebSearch, "http://search.jd.com/search?keyword=" + kJay + "&enc=utf-8"},
        {"websearch", "土豆", true, LogType_WebSearch, "http://www.soku.com/t/nisearch/" + kJay},
        {"websearch", "某站", true, LogType_WebSearch, kBaiduJay},
        {"websearch", nullptr, true, LogType_WebSearch, kBaiduJay},
        {"websearch", "京东", false, LogType_WebSearch, "https://www.baidu.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        sim->ClearTrace();
        std::string slots = c.channel ? R"({"name":"channel","value":)" + Q(c.channel) + "}" : "";
        if (c.keyword) slots += std::string(slots.empty() ? "" : ",") + R"({"name":"keyword","value":"周杰伦"})";
        VeJson doc((R"({"velmoraKeyword":"甲","semantic":[{"intent":"search","slots":[)" + slots + "]}]}").c_str());
        ASSERT_TRUE(doc.IsValid());
        doc.Utf8ToUnicode();
        auto scene = MakeSemanticScene(c.key);
        scene->Parse(doc);
        EXPECT_EQ(scene->Execute(), 1);
        EXPECT_EQ(scene->m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), Lines{"VeUI::VeShellExecuteA(" + Q(c.url) + ")"});
    }
}

}  // namespace
