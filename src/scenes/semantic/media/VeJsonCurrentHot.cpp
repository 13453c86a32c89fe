#include "scenes/semantic/media/VeJsonCurrentHot.h"

#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/WebsiteSteps.h"

void VeJsonCurrentHot::Parse(VeJson& doc) {
    m_stdValue = SlotValue(doc, "currenthot");
    m_stdNormValue = SlotNormValue(doc, "currenthot");
    if (m_stdValue.empty() && m_stdNormValue.empty()) m_stdNormValue = m_stdText;
}

int VeJsonCurrentHot::Execute() {
    return OpenSiteOrSearch(m_stdNormValue, m_stdValue, m_logType, m_hIcon) ? 1 : 0;
}
