#include "scenes/semantic/everyday/VeJsonExpressage.h"

#include "host/DataFactory.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

void VeJsonExpressage::Parse(VeJson& doc) { m_stdCompany = SlotValue(doc, "courierCompany"); }

int VeJsonExpressage::Execute() {
    // The engine takes the bare shop name for its courier service; the user meant the shop.
    if (m_stdText == GBK("京东")) {
        VeUI::VeShellExecuteA(endpoints::kJdHome);
        return 1;
    }
    CString company = VeChar::VeUnicodeChar_2_CString(m_stdCompany);
    CString courier = VeChar::VeUnicodeChar_2_CString(m_stdCompany + GBK("快递"));
    if (!CPreferences::Data()->OpenWebsite(company, m_logType) && !CPreferences::Data()->OpenWebsite(courier, m_logType))
        VeUI::VeShellExecuteA(endpoints::kHao123Parcel);
    return 1;
}
