#include "scenes/tpp/TppSceneUrl.h"

#include <string_view>
#include <utility>

#include "scenes/tpp/TppSceneDeclined.h"
#include "scenes/tpp/TppWebPage.h"

namespace {

LogType LogTypeOfScene(const std::string& scene) {
    static constexpr std::pair<std::string_view, LogType> kScenes[] = {
        {"VELMORA.shopping", LogType_Shopping},
        {"VELMORA.video", LogType_Video},
        {"video", LogType_Video},
        {"musicX", LogType_Music},
        {"VELMORA.map", LogType_Map},
        {"websearch", LogType_WebSearch},
        {"news", LogType_News},
        {"weather", LogType_Weather},
        {"stock", LogType_Stock},
        {"train", LogType_Train},
        {"flight", LogType_Flight},
        {"cookbook", LogType_Recipe},
        {"hotelSearch", LogType_Hotel},
        {"VELMORA.accommodation", LogType_Hotel},
        {"VELMORA.application", LogType_Application},
        {"courier", LogType_Parcel},
    };
    for (const auto& [name, logType] : kScenes)
        if (scene == name) return logType;
    return LogType_Website;
}

}  // namespace

void TppSceneUrl::Parse(VeJson& doc) {
    m_stdContent = doc.Get("content");
    m_logType = LogTypeOfScene(doc.Get("scene"));
}

int TppSceneUrl::Execute() {
    if (m_stdContent.empty() || !OpenTppWebPage(m_stdContent)) return DeclineTppScene(m_logType);
    return 1;
}
