#include "scenes/semantic/everyday/VeJsonRestaurant.h"

#include "host/VeChar.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/everyday/EverydayPages.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/Endpoints.h"

void VeJsonRestaurant::Parse(VeJson& doc) {
    m_stdDishes = SlotValue(doc, "dishes");
    m_stdRestaurant = SlotValue(doc, "restaurant");
    m_stdCity = SlotNormValue(doc, "city");
    m_stdArea = SlotValue(doc, "area");
}

int VeJsonRestaurant::Execute() {
    if (m_stdCity.empty()) m_stdCity = VeAddress::GetCity();
    m_stdCity = BeforeFirst(m_stdCity, GBK("市"));
    const auto& table = GetRegionAbbreviationTable();
    const auto row = table.find(m_stdCity);
    // A city the table lacks is tried under its pinyin, the form most of the site's hosts take.
    const std::string shortName = row != table.end() ? row->second : VeChar::PinyinTransform(m_stdCity);
    const std::string& wanted = m_stdRestaurant.empty() ? m_stdDishes : m_stdRestaurant;
    if (shortName.empty())
        VeUI::VeShellExecuteA(endpoints::kMeituanMain);
    else if (wanted.empty())  // an empty search path is no page; the city's own one is
        VeUI::VeShellExecuteA(MeituanCityHost(shortName));
    else
        VeUI::VeShellExecuteA(MeituanCityHost(shortName)
                                  .Fixed(endpoints::kMeituanSearchPath)
                                  .Raw(wanted, textcodec::UrlPlace::pathSegment)
                                  .Fixed("/"));
    return 1;
}
