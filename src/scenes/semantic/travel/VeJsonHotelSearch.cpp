#include "scenes/semantic/travel/VeJsonHotelSearch.h"

#include "host/VeNet.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/shared/Endpoints.h"

void VeJsonHotelSearch::Parse(VeJson& doc) {
    m_stdCity = doc.Get("data^result^city");
    if (m_stdCity.empty()) m_stdCity = SlotValue(doc, "location.city");
    if (m_stdCity.empty()) m_stdCity = VeAddress::GetCity();
    m_stdCenter = doc.Get("data^result^center");
    if (m_stdCenter.empty()) m_stdCenter = SlotValue(doc, "location.poi");
    m_stdHotelName = doc.Get("data^result^name");
    if (m_stdHotelName.empty()) m_stdHotelName = SlotValue(doc, "name");
    if (m_stdHotelName.empty()) m_stdHotelName = m_stdCenter;
}

int VeJsonHotelSearch::Execute() {
    // Without a city there is no city page to search in (the path would be "/city//").
    if (m_stdHotelName.empty() || m_stdCity.empty()) {
        VeUI::VeShellExecuteA(endpoints::kQunarHotelHome);
    } else {
        using textcodec::UrlPlace;
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kQunarHotelCity)
                                  .Raw(HotelCitySegment(m_stdCity, HotelSearchNaming()), UrlPlace::pathSegment)
                                  .Fixed("/q-")
                                  .Raw(m_stdHotelName, UrlPlace::pathSegment));
    }
    return 1;
}
