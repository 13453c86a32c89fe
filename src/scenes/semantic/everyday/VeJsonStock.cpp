#include "scenes/semantic/everyday/VeJsonStock.h"

#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

void VeJsonStock::Parse(VeJson& doc) {
    m_stdIntent = doc.Get("semantic^intent");
    m_stdCode = SlotValue(doc, "code");
    m_stdMarket = SlotValue(doc, "market");
    m_stdName = SlotValue(doc, "name");
}

int VeJsonStock::Execute() {
    // Without a code either quote page would be a broken address.
    if (m_stdCode.empty()) {
        VeUI::VeShellExecuteA(endpoints::kHexunStockHome);
        return 1;
    }
    // Shenzhen and Shanghai shares have their data page; every other market is taken for Hong Kong.
    const bool mainland = m_stdMarket == "sz" || m_stdMarket == "sh";
    VeUI::VeShellExecuteA(weburl::Url(mainland ? endpoints::kHexunShare : endpoints::kHexunHongKong)
                              .Raw(m_stdCode, textcodec::UrlPlace::pathSegment)
                              .Fixed(".shtml"));
    return 1;
}
