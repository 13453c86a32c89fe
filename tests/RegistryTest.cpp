// The scene registries, and the web search scene the semantic registry makes (on the
// engine's channel or on the rewritten keyword).
#include "TestSupport.h"
#include "host/VeJson.h"
#include "factory/SceneRegistry.h"

using namespace vetest;

namespace {

using Registry = std::unique_ptr<VeBasicService> (*)(const std::string&);

// The class is checked as the end of its RTTI name, which spares including every scene.
#define ROW(registry, key, Class, log) {Make##registry##Scene, key, #Class, LogType_##log}

TEST(RegistryTest, EveryKeyMakesAFreshSceneOfItsClass) {
    const struct { Registry registry; const char* key; const char* type; LogType logType; } rows[] = {
        ROW(Semantic, "VELMORA.video", VeJsonVideo, Video), ROW(Semantic, "video", VeJsonEngineVideo, Video),
        ROW(Semantic, "weather", VeJsonWeather, Weather), ROW(Semantic, "musicX", VeJsonMusic, Music),
        ROW(Semantic, "VELMORA.music", VeJsonMusic, Music), ROW(Semantic, "news", VeJsonNews, News),
        ROW(Semantic, "train", VeJsonTrain, Train), ROW(Semantic, "stock", VeJsonStock, Stock),
        ROW(Semantic, "online_shopping", VeJsonShopping, Shopping), ROW(Semantic, "courier", VeJsonExpressage, Parcel),
        ROW(Semantic, "website", VeJsonWebsite, Website), ROW(Semantic, "flight", VeJsonFlight, Flight),
        ROW(Semantic, "application", VeJsonApp, Application), ROW(Semantic, "rc=4", VeJsonRc_4, Base),
        ROW(Semantic, "VELMORA.accommodation", VeJsonHotel, Hotel), ROW(Semantic, "eat_out", VeJsonRestaurant, Hotel),
        ROW(Semantic, "cookbook", VeJsonCookbook, Recipe), ROW(Semantic, "offasr", VeJsonOffAsr, Base),
        ROW(Semantic, "hotkey", VeJsonHotkey, Base), ROW(Semantic, "round_service", VeJsonLife, LocalLife),
        ROW(Semantic, "baidusearch", VeJsonBaiduSearch, WebSearch),
        ROW(Semantic, "websearch", VeJsonBaiduSearch, WebSearch),
        ROW(Semantic, "translation", VeJsonTranslation, Translation), ROW(Semantic, "mapping", VeJsonMap, Map),
        ROW(Semantic, "VELMORA.currentHot", VeJsonCurrentHot, Website), ROW(Semantic, "joke", VeJsonJoke, Joke),
        ROW(Semantic, "drama", VeJsonDrama, Video), ROW(Semantic, "hotelSearch", VeJsonHotelSearch, Hotel),
        ROW(Semantic, "poetry", VeJsonPoetry, Poetry), ROW(Semantic, "openQA", VeJsonOpenQA, Answer),
        ROW(Semantic, "mapU", VeJsonEngineMapU, Map), ROW(Semantic, "VELMORA.template", VeJsonOfficeTemplate, OfficeTemplate),
        ROW(Tpp, "APPLICATION", TppSceneApp, Base), ROW(Tpp, "CMD", TppSceneCmd, Base),
        ROW(Tpp, "COMBKEY", TppSceneCombKey, Base), ROW(Tpp, "DIALOGUE", TppSceneDialogue, Base),
        ROW(Tpp, "DIALOGUELIST", TppSceneDialogueList, Base), ROW(Tpp, "FILLURL", TppSceneFillUrl, Base),
        ROW(Tpp, "NOTHING", TppSceneNothing, Base), ROW(Tpp, "OFFLINE", TppSceneOffline, Base),
        ROW(Tpp, "URL", TppSceneUrl, Base), ROW(Tpp, "URLLIST", TppSceneUrlList, Base),
        ROW(Tpp, "OTHER", TppSceneOther, Base), ROW(Tpp, "ENTITY", TppSceneEntity, Base),
        ROW(Online, "train", NoltSceneTrain, Train), ROW(Online, "flight", NoltSceneTrain, Train),
        ROW(Online, "shopping", NoltSceneShopping, Shopping), ROW(Online, "website", NoltSceneWebsite, Website),
        ROW(Online, "news", NoltSceneWebsite, Website), ROW(Online, "application", NoltSceneApp, Application),
        ROW(Online, "music", NoltSceneMusic, Music), ROW(Online, "weather", NoltSceneWeather, Weather),
        ROW(Online, "video", NoltSceneVideo, Video), ROW(Online, "rc_4", NoltSceneRc_4, NotCarriedOut),
        ROW(Online, "lnk", NoltSceneLink, Application), ROW(Online, "cmd", NoltSceneCmd, Base),
        ROW(Online, "nothing", NoltSceneNothing, NotCarriedOut), ROW(Online, "websearch", NoltSceneWebSearch, WebSearch),
        ROW(Online, "chat", NoltSceneChat, Base),
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        auto scene = row.registry(row.key);
        ASSERT_NE(scene, nullptr);
        const std::string type = typeid(*scene).name();
        EXPECT_TRUE(type.ends_with(row.type)) << type;
        EXPECT_EQ(scene->m_stdService, row.key);
        EXPECT_EQ(scene->m_logType, row.logType);
        EXPECT_NE(row.registry(row.key).get(), scene.get());
    }
}
#undef ROW

TEST(RegistryTest, OtherNamesMakeNothing) {
    // Keys compare exactly, and belong to their own registry only.
    for (const auto& name : Lines{"", "Websearch", "openqa", "rc_4", "websearch ", "music", {"websearch\0x", 11}})
        EXPECT_EQ(MakeSemanticScene(name), nullptr) << Q(name);
    for (const std::string name : {"url", "Url", "application", "musicX"}) EXPECT_EQ(MakeTppScene(name), nullptr) << Q(name);
    for (const std::string name : {"rc=4", "Chat", "APPLICATION"}) EXPECT_EQ(MakeOnlineScene(name), nullptr) << Q(name);
    for (const Registry pen : {MakeSlideShowPenScene, MakeNormalPenScene})
        for (const std::string name : {"", "weather", "URL"}) EXPECT_EQ(pen(name), nullptr) << Q(name);
    // "website" is a normal-pen key but no slide-show key.
    EXPECT_EQ(MakeSlideShowPenScene("website"), nullptr);
    EXPECT_NE(MakeNormalPenScene("website"), nullptr);
}

class WebSearchSceneTest : public SimTest {};

TEST_F(WebSearchSceneTest, KeyAndChannelPickKeywordSiteAndLogType) {
    // baidusearch reads the rewritten keyword (甲); websearch the keyword slot (周杰伦) and its channel.
    const struct { const char* key; const char* channel; bool keyword; LogType logType; std::string url; } cases[] = {
        {"baidusearch", "优酷", true, LogType_WebSearch, "https://www.baidu.com/s?wd=%E7%94%B2&enc=utf-8"},
        {"websearch", "优酷", true, LogType_Video, "http://www.soku.com/search_video/q_" + kJay},
        {"websearch", "youku", true, LogType_Video, "http://www.soku.com/search_video/q_" + kJay},
        {"websearch", "爱奇艺", true, LogType_Video, "http://so.iqiyi.com/so/q_" + kJay},
        {"websearch", "腾讯视频", true, LogType_Video, "http://v.qq.com/x/search/?q=" + kJay},
        {"websearch", "京东", true, LogType_WebSearch, "http://search.jd.com/search?keyword=" + kJay + "&enc=utf-8"},
        {"websearch", nullptr, true, LogType_WebSearch, kBaiduJay},
        {"websearch", "京东", false, LogType_WebSearch, "https://www.baidu.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        sim->ClearTrace();
        std::string slots = c.channel ? Slot("channel", c.channel) : "";
        if (c.keyword) slots += (slots.empty() ? "" : ",") + Slot("keyword", "周杰伦");
        VeJson doc((R"({"velmoraKeyword":"甲","semantic":[{"intent":"search","slots":[)" + slots + "]}]}").c_str());
        doc.Utf8ToUnicode();
        auto scene = MakeSemanticScene(c.key);
        scene->Parse(doc);
        EXPECT_EQ(scene->Execute(), 1);
        EXPECT_EQ(scene->m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), Lines{"VeUI::VeShellExecuteA(" + Q(c.url) + ")"});
    }
}

}  // namespace
