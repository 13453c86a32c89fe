#include "scenes/semantic/travel/VeJsonFlight.h"

#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/shared/Endpoints.h"

void VeJsonFlight::Parse(VeJson& doc) {
    m_stdEndCity = FirstSlotNormValue(doc, {"endLoc.cityAddr", "endLoc.areaAddr", "endLoc.provinceAddr"});
    if (m_stdEndCity.empty()) return;
    m_stdStartCity = DepartureCity(
        FirstSlotNormValue(doc, {"startLoc.cityAddr", "startLoc.areaAddr", "startLoc.provinceAddr", "startLoc.city"}),
        m_stdEndCity, m_stdText);
    // The date doubles as the mark of a usable route.
    if (!m_stdStartCity.empty() && m_stdStartCity != m_stdEndCity) m_stdDate = TravelDate(doc);
}

int VeJsonFlight::Execute() {
    if (m_stdDate.empty()) {
        VeUI::VeShellExecuteA(endpoints::kQunarFlightRoot);
    } else {
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kQunarFlightOneWay)
                                  .Text(m_stdStartCity)
                                  .Fixed("&searchArrivalAirport=")
                                  .Text(m_stdEndCity)
                                  .Fixed("&searchDepartureTime=")
                                  .Raw(m_stdDate, textcodec::UrlPlace::queryValue));
    }
    return 1;
}
