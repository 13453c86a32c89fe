#include "scenes/semantic/everyday/VeJsonWeather.h"

#include "host/CUtil.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeNet.h"
#include "scenes/semantic/SemanticSlots.h"

void VeJsonWeather::Parse(VeJson& doc) {
    m_stdLocation = SlotValue(doc, "location.areaAddr");
    for (const char* name : {"location.areaAddr", "location.area", "location.cityAddr", "location.city",
                             "location.provinceAddr", "location.province", "location.country"}) {
        if (!m_stdLocation.empty()) break;
        m_stdLocation = SlotNormValue(doc, name);
    }
    // A place the user did not say is the engine's own default, not where the user is.
    if (!m_stdLocation.empty() && !SaidIn(m_stdText, m_stdLocation)) m_stdLocation = VeAddress::GetCity();
}

int VeJsonWeather::Execute() {
    CUtil::SearchInBaidu_unicode(m_stdLocation.empty() ? GBK("天气") : m_stdLocation + " " + GBK("天气"));
    return 1;
}
