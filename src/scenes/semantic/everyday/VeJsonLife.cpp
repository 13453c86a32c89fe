#include "scenes/semantic/everyday/VeJsonLife.h"

#include "host/VeChar.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/everyday/EverydayPages.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/Endpoints.h"

namespace {

// What to look for on the local-life site: a named hall, house or shop is found by the name
// in front of that word, which matches more of the site's listings.
std::string FoodSearchWord(const std::string& kind) {
    if (kind.empty()) return "meishi";
    std::string word = kind;
    if (kind.size() > 4) {
        for (const std::string& mark : {GBK("厅"), GBK("馆"), GBK("店")}) {
            const std::string before = BeforeFirst(kind, mark);
            if (before.size() == kind.size()) continue;
            if (!before.empty()) word = before;
            break;
        }
    }
    return word;
}

}  // namespace

void VeJsonLife::Parse(VeJson& doc) {
    m_stdRoundService = SlotValue(doc, "roundService");
    m_stdCity = SlotValue(doc, "city");
    if (m_stdCity.empty()) m_stdCity = VeAddress::GetCity();
    if (m_stdCity.empty()) m_stdCity = GBK("北京");
    m_stdArea = SlotValue(doc, "area");
}

int VeJsonLife::Execute() {
    const std::string& kind = m_stdRoundService;
    if (kind == GBK("公交") || kind == GBK("公交站") || kind == GBK("景区") || kind == GBK("景点")) {
        const std::string& place = m_stdCity.empty() ? m_stdArea : m_stdCity;
        OpenMapSearch(place.empty() ? place : place + " " + kind);
        return 1;
    }
    std::string city = m_stdCity;
    if (city.size() > 5) city = WithoutLastChar(city, GBK("市"));
    const auto& table = GetRegionAbbreviationTable();
    const auto row = table.find(city);
    weburl::Url url = row != table.end() && !row->second.empty() ? MeituanCityHost(row->second)
                                                                  : weburl::Url(endpoints::kMeituanMain);
    url.Fixed(endpoints::kMeituanSearchPath).Text(FoodSearchWord(kind)).Fixed("/");
    VeUI::VeShellExecuteA(url.Raw(VeChar::PinyinTransform(m_stdArea), textcodec::UrlPlace::pathSegment));
    return 1;
}
