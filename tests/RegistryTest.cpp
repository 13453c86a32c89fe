// The scene registries, and the web search scene the semantic registry makes (on the
// engine's channel or on the rewritten keyword).
#include <typeindex>

#include "TestSupport.h"
#include "host/VeJson.h"
#include "scenes/base/SceneRegistry.h"
#include "scenes/semantic/VeJsonBaiduSearch.h"
#include "scenes/semantic/VeJsonOpenQA.h"
#include "scenes/semantic/VeJsonApp.h"
#include "scenes/semantic/VeJsonHotkey.h"
#include "scenes/semantic/VeJsonOfficeTemplate.h"
#include "scenes/semantic/VeJsonWebsite.h"
#include "local/VeJsonOffAsr.h"
#include "local/VeJsonRc_4.h"
#include "scenes/semantic/everyday/VeJsonCookbook.h"
#include "scenes/semantic/everyday/VeJsonExpressage.h"
#include "scenes/semantic/everyday/VeJsonIflyMapU.h"
#include "scenes/semantic/everyday/VeJsonLife.h"
#include "scenes/semantic/everyday/VeJsonMap.h"
#include "scenes/semantic/everyday/VeJsonRestaurant.h"
#include "scenes/semantic/everyday/VeJsonShopping.h"
#include "scenes/semantic/everyday/VeJsonStock.h"
#include "scenes/semantic/everyday/VeJsonTranslation.h"
#include "scenes/semantic/everyday/VeJsonWeather.h"
#include "scenes/semantic/media/VeJsonCurrentHot.h"
#include "scenes/semantic/media/VeJsonDrama.h"
#include "scenes/semantic/media/VeJsonIflyVideo.h"
#include "scenes/semantic/media/VeJsonJoke.h"
#include "scenes/semantic/media/VeJsonMusic.h"
#include "scenes/semantic/media/VeJsonNews.h"
#include "scenes/semantic/media/VeJsonPoetry.h"
#include "scenes/semantic/media/VeJsonVideo.h"
#include "scenes/semantic/travel/VeJsonFlight.h"
#include "scenes/semantic/travel/VeJsonHotel.h"
#include "scenes/semantic/travel/VeJsonHotelSearch.h"
#include "scenes/semantic/travel/VeJsonTrain.h"
#include "scenes/online/NoltSceneApp.h"
#include "scenes/online/NoltSceneChat.h"
#include "scenes/online/NoltSceneCmd.h"
#include "scenes/online/NoltSceneLink.h"
#include "scenes/online/NoltSceneMusic.h"
#include "scenes/online/NoltSceneNothing.h"
#include "scenes/online/NoltSceneRc_4.h"
#include "scenes/online/NoltSceneShopping.h"
#include "scenes/online/NoltSceneTrain.h"
#include "scenes/online/NoltSceneVideo.h"
#include "scenes/online/NoltSceneWeather.h"
#include "scenes/online/NoltSceneWebSearch.h"
#include "scenes/online/NoltSceneWebsite.h"
#include "scenes/tpp/TppSceneApp.h"
#include "scenes/tpp/TppSceneCmd.h"
#include "scenes/tpp/TppSceneCombKey.h"
#include "scenes/tpp/TppSceneDialogue.h"
#include "scenes/tpp/TppSceneDialogueList.h"
#include "scenes/tpp/TppSceneEntity.h"
#include "scenes/tpp/TppSceneFillUrl.h"
#include "scenes/tpp/TppSceneNothing.h"
#include "scenes/tpp/TppSceneOffline.h"
#include "scenes/tpp/TppSceneOther.h"
#include "scenes/tpp/TppSceneUrl.h"
#include "scenes/tpp/TppSceneUrlList.h"

using namespace vetest;

namespace {

using Registry = std::unique_ptr<VeBasicService> (*)(const std::string&);

struct Row {
    Registry registry;
    const char* key;
    std::type_index type;
    LogType logType;
};

template <class Scene>
std::type_index Type() { return typeid(Scene); }

TEST(RegistryTest, EveryKeyMakesAFreshSceneOfItsClass) {
    const Row rows[] = {
        {MakeSemanticScene, "VELMORA.video", Type<VeJsonVideo>(), LogType_Video},
        {MakeSemanticScene, "video", Type<VeJsonIflyVideo>(), LogType_Video},
        {MakeSemanticScene, "weather", Type<VeJsonWeather>(), LogType_Weather},
        {MakeSemanticScene, "musicX", Type<VeJsonMusic>(), LogType_Music},
        {MakeSemanticScene, "VELMORA.music", Type<VeJsonMusic>(), LogType_Music},
        {MakeSemanticScene, "news", Type<VeJsonNews>(), LogType_News},
        {MakeSemanticScene, "train", Type<VeJsonTrain>(), LogType_Train},
        {MakeSemanticScene, "stock", Type<VeJsonStock>(), LogType_Stock},
        {MakeSemanticScene, "online_shopping", Type<VeJsonShopping>(), LogType_Shopping},
        {MakeSemanticScene, "courier", Type<VeJsonExpressage>(), LogType_Parcel},
        {MakeSemanticScene, "website", Type<VeJsonWebsite>(), LogType_Website},
        {MakeSemanticScene, "flight", Type<VeJsonFlight>(), LogType_Flight},
        {MakeSemanticScene, "application", Type<VeJsonApp>(), LogType_Application},
        {MakeSemanticScene, "rc=4", Type<VeJsonRc_4>(), LogType_Base},
        {MakeSemanticScene, "VELMORA.accommodation", Type<VeJsonHotel>(), LogType_Hotel},
        {MakeSemanticScene, "eat_out", Type<VeJsonRestaurant>(), LogType_Hotel},
        {MakeSemanticScene, "cookbook", Type<VeJsonCookbook>(), LogType_Recipe},
        {MakeSemanticScene, "offasr", Type<VeJsonOffAsr>(), LogType_Base},
        {MakeSemanticScene, "hotkey", Type<VeJsonHotkey>(), LogType_Base},
        {MakeSemanticScene, "round_service", Type<VeJsonLife>(), LogType_LocalLife},
        {MakeSemanticScene, "baidusearch", Type<VeJsonBaiduSearch>(), LogType_WebSearch},
        {MakeSemanticScene, "websearch", Type<VeJsonBaiduSearch>(), LogType_WebSearch},
        {MakeSemanticScene, "translation", Type<VeJsonTranslation>(), LogType_Translation},
        {MakeSemanticScene, "mapping", Type<VeJsonMap>(), LogType_Map},
        {MakeSemanticScene, "VELMORA.currentHot", Type<VeJsonCurrentHot>(), LogType_Website},
        {MakeSemanticScene, "joke", Type<VeJsonJoke>(), LogType_Joke},
        {MakeSemanticScene, "drama", Type<VeJsonDrama>(), LogType_Video},
        {MakeSemanticScene, "hotelSearch", Type<VeJsonHotelSearch>(), LogType_Hotel},
        {MakeSemanticScene, "poetry", Type<VeJsonPoetry>(), LogType_Poetry},
        {MakeSemanticScene, "openQA", Type<VeJsonOpenQA>(), LogType_Answer},
        {MakeSemanticScene, "mapU", Type<VeJsonIflyMapU>(), LogType_Map},
        {MakeSemanticScene, "VELMORA.template", Type<VeJsonOfficeTemplate>(), LogType_OfficeTemplate},
        {MakeTppScene, "APPLICATION", Type<TppSceneApp>(), LogType_Base},
        {MakeTppScene, "CMD", Type<TppSceneCmd>(), LogType_Base},
        {MakeTppScene, "COMBKEY", Type<TppSceneCombKey>(), LogType_Base},
        {MakeTppScene, "DIALOGUE", Type<TppSceneDialogue>(), LogType_Base},
        {MakeTppScene, "DIALOGUELIST", Type<TppSceneDialogueList>(), LogType_Base},
        {MakeTppScene, "FILLURL", Type<TppSceneFillUrl>(), LogType_Base},
        {MakeTppScene, "NOTHING", Type<TppSceneNothing>(), LogType_Base},
        {MakeTppScene, "OFFLINE", Type<TppSceneOffline>(), LogType_Base},
        {MakeTppScene, "URL", Type<TppSceneUrl>(), LogType_Base},
        {MakeTppScene, "URLLIST", Type<TppSceneUrlList>(), LogType_Base},
        {MakeTppScene, "OTHER", Type<TppSceneOther>(), LogType_Base},
        {MakeTppScene, "ENTITY", Type<TppSceneEntity>(), LogType_Base},
        {MakeOnlineScene, "train", Type<NoltSceneTrain>(), LogType_Train},
        {MakeOnlineScene, "flight", Type<NoltSceneTrain>(), LogType_Train},
        {MakeOnlineScene, "shopping", Type<NoltSceneShopping>(), LogType_Shopping},
        {MakeOnlineScene, "website", Type<NoltSceneWebsite>(), LogType_Website},
        {MakeOnlineScene, "news", Type<NoltSceneWebsite>(), LogType_Website},
        {MakeOnlineScene, "application", Type<NoltSceneApp>(), LogType_Application},
        {MakeOnlineScene, "music", Type<NoltSceneMusic>(), LogType_Music},
        {MakeOnlineScene, "weather", Type<NoltSceneWeather>(), LogType_Weather},
        {MakeOnlineScene, "video", Type<NoltSceneVideo>(), LogType_Video},
        {MakeOnlineScene, "rc_4", Type<NoltSceneRc_4>(), LogType_NotCarriedOut},
        {MakeOnlineScene, "lnk", Type<NoltSceneLink>(), LogType_Application},
        {MakeOnlineScene, "cmd", Type<NoltSceneCmd>(), LogType_Base},
        {MakeOnlineScene, "nothing", Type<NoltSceneNothing>(), LogType_NotCarriedOut},
        {MakeOnlineScene, "websearch", Type<NoltSceneWebSearch>(), LogType_WebSearch},
        {MakeOnlineScene, "chat", Type<NoltSceneChat>(), LogType_Base},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        auto scene = row.registry(row.key);
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(std::type_index(typeid(*scene)), row.type);
        EXPECT_EQ(scene->m_stdService, row.key);
        EXPECT_EQ(scene->m_logType, row.logType);
        EXPECT_TRUE(scene->m_stdText.empty());
        EXPECT_EQ(scene->m_hIcon, nullptr);
        EXPECT_NE(row.registry(row.key).get(), scene.get());
    }
}

TEST(RegistryTest, OtherNamesMakeNothing) {
    const std::vector<std::string> names = {
        "", "Websearch", "WEBSEARCH", "Weather", "BaiduSearch", "openqa", "OpenQA", "rc_4", "RC=4", "websearch ",
        " websearch", "userself", "offasr_p", "baidusearch\n", "music", {"websearch\0x", 11}};
    for (const auto& name : names) EXPECT_EQ(MakeSemanticScene(name), nullptr) << Q(name);
    // Keys belong to their own registry only; "website" is a normal-pen key but no slide-show key.
    for (const std::string name : {"", "url", "Url", "application", "rc=4", "musicX"})
        EXPECT_EQ(MakeTppScene(name), nullptr) << Q(name);
    for (const std::string name : {"", "rc=4", "Chat", "musicX", "joke", "APPLICATION"})
        EXPECT_EQ(MakeOnlineScene(name), nullptr) << Q(name);
    for (const Registry pen : {MakeSlideShowPenScene, MakeNormalPenScene})
        for (const std::string name : {"", "weather", "openQA", "rc_4", "Ppt", "URL"}) EXPECT_EQ(pen(name), nullptr) << Q(name);
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
