#include "factory/SceneRegistry.h"

#include <initializer_list>
#include <string_view>

#include "scenes/offline/VeJsonOffAsr.h"
#include "scenes/offline/VeJsonPPtOffAsr.h"
#include "scenes/offline/VeJsonPPtOnLine.h"
#include "scenes/offline/VeJsonPenNormal_OffAsr.h"
#include "scenes/offline/VeJsonPenNormal_PPt.h"
#include "scenes/offline/VeJsonRc_4.h"
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
#include "scenes/semantic/VeJsonApp.h"
#include "scenes/semantic/VeJsonBaiduSearch.h"
#include "scenes/semantic/VeJsonHotkey.h"
#include "scenes/semantic/VeJsonOfficeTemplate.h"
#include "scenes/semantic/VeJsonOpenQA.h"
#include "scenes/semantic/VeJsonWebsite.h"
#include "scenes/semantic/everyday/VeJsonCookbook.h"
#include "scenes/semantic/everyday/VeJsonExpressage.h"
#include "scenes/semantic/everyday/VeJsonEngineMapU.h"
#include "scenes/semantic/everyday/VeJsonLife.h"
#include "scenes/semantic/everyday/VeJsonMap.h"
#include "scenes/semantic/everyday/VeJsonRestaurant.h"
#include "scenes/semantic/everyday/VeJsonShopping.h"
#include "scenes/semantic/everyday/VeJsonStock.h"
#include "scenes/semantic/everyday/VeJsonTranslation.h"
#include "scenes/semantic/everyday/VeJsonWeather.h"
#include "scenes/semantic/media/VeJsonCurrentHot.h"
#include "scenes/semantic/media/VeJsonDrama.h"
#include "scenes/semantic/media/VeJsonEngineVideo.h"
#include "scenes/semantic/media/VeJsonJoke.h"
#include "scenes/semantic/media/VeJsonMusic.h"
#include "scenes/semantic/media/VeJsonNews.h"
#include "scenes/semantic/media/VeJsonPoetry.h"
#include "scenes/semantic/media/VeJsonVideo.h"
#include "scenes/semantic/travel/VeJsonFlight.h"
#include "scenes/semantic/travel/VeJsonHotel.h"
#include "scenes/semantic/travel/VeJsonHotelSearch.h"
#include "scenes/semantic/travel/VeJsonTrain.h"
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

namespace {

using Maker = std::unique_ptr<VeBasicService> (*)();

struct SceneKey {
    std::string_view key;
    Maker make;
};

template <typename Scene>
std::unique_ptr<VeBasicService> Make() {
    return std::make_unique<Scene>();
}

std::unique_ptr<VeBasicService> Lookup(std::initializer_list<SceneKey> keys, const std::string& name) {
    for (const auto& entry : keys) {
        if (entry.key == name) {
            auto scene = entry.make();
            scene->m_stdService = name;
            return scene;
        }
    }
    return nullptr;
}

}  // namespace

// Tested in table order; the first key that equals the name wins.
std::unique_ptr<VeBasicService> MakeSemanticScene(const std::string& name) {
    return Lookup(
        {
            {"VELMORA.video", Make<VeJsonVideo>},
            {"video", Make<VeJsonEngineVideo>},
            {"weather", Make<VeJsonWeather>},
            {"musicX", Make<VeJsonMusic>},
            {"VELMORA.music", Make<VeJsonMusic>},
            {"news", Make<VeJsonNews>},
            {"train", Make<VeJsonTrain>},
            {"stock", Make<VeJsonStock>},
            {"online_shopping", Make<VeJsonShopping>},
            {"courier", Make<VeJsonExpressage>},
            {"website", Make<VeJsonWebsite>},
            {"flight", Make<VeJsonFlight>},
            {"application", Make<VeJsonApp>},
            {"rc=4", Make<VeJsonRc_4>},
            {"VELMORA.accommodation", Make<VeJsonHotel>},
            {"eat_out", Make<VeJsonRestaurant>},
            {"cookbook", Make<VeJsonCookbook>},
            {"offasr", Make<VeJsonOffAsr>},
            {"hotkey", Make<VeJsonHotkey>},
            {"round_service", Make<VeJsonLife>},
            {"baidusearch", Make<VeJsonBaiduSearch>},
            {"websearch", Make<VeJsonBaiduSearch>},
            {"translation", Make<VeJsonTranslation>},
            {"mapping", Make<VeJsonMap>},
            {"VELMORA.currentHot", Make<VeJsonCurrentHot>},
            {"joke", Make<VeJsonJoke>},
            {"drama", Make<VeJsonDrama>},
            {"hotelSearch", Make<VeJsonHotelSearch>},
            {"poetry", Make<VeJsonPoetry>},
            {"openQA", Make<VeJsonOpenQA>},
            {"mapU", Make<VeJsonEngineMapU>},
            {"VELMORA.template", Make<VeJsonOfficeTemplate>},
        },
        name);
}

std::unique_ptr<VeBasicService> MakeTppScene(const std::string& name) {
    return Lookup(
        {
            {"APPLICATION", Make<TppSceneApp>},
            {"CMD", Make<TppSceneCmd>},
            {"COMBKEY", Make<TppSceneCombKey>},
            {"DIALOGUE", Make<TppSceneDialogue>},
            {"DIALOGUELIST", Make<TppSceneDialogueList>},
            {"FILLURL", Make<TppSceneFillUrl>},
            {"NOTHING", Make<TppSceneNothing>},
            {"OFFLINE", Make<TppSceneOffline>},
            {"URL", Make<TppSceneUrl>},
            {"URLLIST", Make<TppSceneUrlList>},
            {"OTHER", Make<TppSceneOther>},
            {"ENTITY", Make<TppSceneEntity>},
        },
        name);
}

std::unique_ptr<VeBasicService> MakeOnlineScene(const std::string& name) {
    return Lookup(
        {
            {"train", Make<NoltSceneTrain>},
            {"flight", Make<NoltSceneTrain>},
            {"shopping", Make<NoltSceneShopping>},
            {"website", Make<NoltSceneWebsite>},
            {"news", Make<NoltSceneWebsite>},
            {"application", Make<NoltSceneApp>},
            {"music", Make<NoltSceneMusic>},
            {"weather", Make<NoltSceneWeather>},
            {"video", Make<NoltSceneVideo>},
            {"rc_4", Make<NoltSceneRc_4>},
            {"lnk", Make<NoltSceneLink>},
            {"cmd", Make<NoltSceneCmd>},
            {"nothing", Make<NoltSceneNothing>},
            {"websearch", Make<NoltSceneWebSearch>},
            {"chat", Make<NoltSceneChat>},
        },
        name);
}

std::unique_ptr<VeBasicService> MakeSlideShowPenScene(const std::string& name) {
    return Lookup(
        {
            {"offasr_p", Make<VeJsonPPtOffAsr>},
            {"bright_high", Make<VeJsonPPtOffAsr>},
            {"bright_low", Make<VeJsonPPtOffAsr>},
            {"application", Make<VeJsonPPtOffAsr>},
            {"rc=4", Make<VeJsonPPtOffAsr>},
            {"INSTRUCTION", Make<VeJsonPPtOffAsr>},
            {"PLAY", Make<VeJsonPPtOffAsr>},
            {"ppt", Make<VeJsonPPtOnLine>},
        },
        name);
}

std::unique_ptr<VeBasicService> MakeNormalPenScene(const std::string& name) {
    return Lookup(
        {
            {"offasr_p", Make<VeJsonPenNormal_OffAsr>},
            {"bright_high", Make<VeJsonPenNormal_OffAsr>},
            {"bright_low", Make<VeJsonPenNormal_OffAsr>},
            {"website", Make<VeJsonPenNormal_OffAsr>},
            {"application", Make<VeJsonPenNormal_OffAsr>},
            {"INSTRUCTION", Make<VeJsonPenNormal_OffAsr>},
            {"rc=4", Make<VeJsonPenNormal_OffAsr>},
            {"PLAY", Make<VeJsonPenNormal_OffAsr>},
            {"ppt", Make<VeJsonPenNormal_PPt>},
        },
        name);
}
