#include "scenes/semantic/everyday/VeJsonShopping.h"

#include "host/DataFactory.h"
#include "host/VeChar.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/SearchSiteTable.h"

void VeJsonShopping::Parse(VeJson& doc) {
    for (const std::string& commodity : {SlotNormValue(doc, "commodity"), SlotValue(doc, "commodity"),
                                         SlotNormValue(doc, "shopping"), SlotValue(doc, "shopping")}) {
        if (commodity.empty()) continue;
        m_stdCommodity = commodity;
        break;
    }
    m_stdSite = SlotNormValue(doc, "website");
    if (m_stdSite.empty()) m_stdSite = SlotValue(doc, "website");
}

int VeJsonShopping::Execute() {
    CString name = VeChar::VeUnicodeChar_2_CString(m_stdSite + m_stdCommodity);
    if (CPreferences::Data()->OpenWebsite(name, m_logType)) return 1;
    if (m_stdCommodity.empty())
        OpenSiteHome(m_stdSite, "jdcom");
    else
        SearchOnSite(m_stdCommodity, m_stdSite, "jdcom");
    return 1;
}
