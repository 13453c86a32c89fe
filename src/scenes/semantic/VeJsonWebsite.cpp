#include "scenes/semantic/VeJsonWebsite.h"

#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/WebsiteSteps.h"

void VeJsonWebsite::Parse(VeJson& doc) {
    m_stdValue = SlotValue(doc, "website");
    m_stdNormValue = SlotNormValue(doc, "website");
    if (m_stdValue.empty() && m_stdNormValue.empty()) m_stdNormValue = m_stdText;
}

int VeJsonWebsite::Execute() { return OpenSiteOrSearch(m_stdNormValue, m_stdValue, m_logType, m_hIcon) ? 1 : 0; }
