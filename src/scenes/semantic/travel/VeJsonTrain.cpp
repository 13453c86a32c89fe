#include "scenes/semantic/travel/VeJsonTrain.h"

#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/Endpoints.h"

namespace {

// The telecode of a station or city, found also without the place's suffix (张家口 for
// 张家口市); the name becomes the one the table knows.
std::string StationCode(std::string& gbkName) {
    const auto& stations = GetStationTable();
    auto row = stations.find(gbkName);
    if (row == stations.end()) row = stations.find(std::string(WithoutPlaceSuffix(gbkName)));
    if (row == stations.end()) return {};
    gbkName = row->first;
    return row->second;
}

}  // namespace

void VeJsonTrain::Parse(VeJson& doc) {
    m_stdEndCity = FirstSlotNormValue(doc, {"endLoc.cityAddr", "endLoc.areaAddr", "endLoc.provinceAddr", "endLoc.poi"});
    if (!m_stdEndCity.empty()) m_stdEndCode = StationCode(m_stdEndCity);
    if (m_stdEndCode.empty()) return;

    m_stdStartCity = FirstSlotNormValue(
        doc, {"startLoc.cityAddr", "startLoc.areaAddr", "startLoc.provinceAddr", "startLoc.poi", "startLoc.city"});
    // The table knows 南京, not 南京市; two-character names such as 岳阳 stay whole.
    DropFinalCharacter(m_stdStartCity, 4, {GBK("县"), GBK("市")});
    m_stdStartCity = DepartureCity(m_stdStartCity, m_stdEndCity, m_stdText);
    if (!m_stdStartCity.empty() && m_stdStartCity != m_stdEndCity) m_stdStartCode = StationCode(m_stdStartCity);

    if (!m_stdStartCode.empty()) m_stdDate = TravelDate(doc);
}

int VeJsonTrain::Execute() {
    if (m_stdDate.empty()) {
        VeUI::VeShellExecuteA(endpoints::kRailwayLeftTickets);
    } else {
        using textcodec::UrlPlace;
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kRailwayLeftTickets)
                                  .Fixed("?linktypeid=dc&fs=")
                                  .Text(m_stdStartCity)
                                  .Fixed(",")
                                  .Raw(m_stdStartCode, UrlPlace::queryValue)
                                  .Fixed("&ts=")
                                  .Text(m_stdEndCity)
                                  .Fixed(",")
                                  .Raw(m_stdEndCode, UrlPlace::queryValue)
                                  .Fixed("&date=")
                                  .Raw(m_stdDate, UrlPlace::queryValue)
                                  .Fixed("&flag=N,N,Y"));
    }
    return 1;
}
