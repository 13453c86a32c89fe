#include "scenes/semantic/travel/VeJsonHotel.h"

#include "host/VeNet.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/shared/Endpoints.h"

void VeJsonHotel::Parse(VeJson& doc) {
    m_stdIntent = doc.Get("semantic^intent");
    if (m_stdIntent == "city")
        m_stdCity = SlotValue(doc, "city");
    else if (m_stdIntent == "area")
        m_stdCity = SlotValue(doc, "area");
    else
        m_stdCity = VeAddress::GetCity();
    m_stdHotelName = SlotValue(doc, "hotel");
    // A stay has no default day: the site picks one.
    if (m_stdIntent == "date") m_stdDate = DateOfObject(SlotNormValue(doc, "date"));
}

int VeJsonHotel::Execute() {
    if (m_stdCity.empty()) {
        VeUI::VeShellExecuteA(endpoints::kQunarHotelHome);
        return 1;
    }
    using textcodec::UrlPlace;
    weburl::Url url(endpoints::kQunarHotelCity);
    url.Raw(HotelCitySegment(m_stdCity, AccommodationNaming()), UrlPlace::pathSegment).Fixed("/");
    if (!m_stdHotelName.empty()) url.Fixed("q-").Raw(m_stdHotelName, UrlPlace::pathSegment);
    if (!m_stdDate.empty()) url.Fixed("#fromDate=").Raw(m_stdDate, UrlPlace::queryValue);
    VeUI::VeShellExecuteA(url);
    return 1;
}
