#include "scenes/tpp/TppSceneFillUrl.h"

#include <map>

#include "host/VeChar.h"
#include "host/VeNet.h"
#include "platform/TextCodec.h"
#include "scenes/shared/DataTables.h"
#include "scenes/tpp/TppSceneDeclined.h"
#include "scenes/tpp/TppWebPage.h"

namespace {

std::string ValueOr(const std::map<std::string, std::string>& table, const std::string& key, const char* fallback) {
    auto row = table.find(key);
    return row != table.end() ? row->second : fallback;
}

}  // namespace

void TppSceneFillUrl::Parse(VeJson& doc) {
    m_stdBeforeUrl = doc.Get("content^beforeUrl");
    m_stdAfterUrl = doc.Get("content^afterUrl");
    m_stdFillName = doc.Get("content^fillName");
    m_stdCity = VeAddress::GetCity();
    if (m_stdCity.empty()) m_stdCity = GBK("北京");

    const std::string scene = doc.Get("scene");
    if (scene == "train") {
        m_logType = LogType_Train;
        m_stdCity += "," + ValueOr(GetStationTable(), m_stdCity, "BJ");
    } else if (scene == "weather") {
        m_logType = LogType_Weather;
    } else if (scene == "flight") {
        m_logType = LogType_Flight;
    } else if (scene == "hotelSearch" || scene == "VELMORA.accommodation") {
        m_logType = LogType_Hotel;
    } else {
        m_logType = LogType_Website;
    }

    if (m_stdFillName == "cityPinyin") m_stdCity = ValueOr(GetRegionAbbreviationTable(), m_stdCity, "bj");
}

int TppSceneFillUrl::Execute() {
    // The city is ours, not the result's: it may fill a value but never add to the address's shape.
    // The result's page is read as UTF-8, like every address from outside.
    const std::string city = textcodec::PercentEncode(textcodec::GbkToUtf8(m_stdCity), textcodec::UrlPlace::queryValue);
    if (!OpenTppWebPage(m_stdBeforeUrl + city + m_stdAfterUrl)) return DeclineTppScene(m_logType);
    return 1;
}
