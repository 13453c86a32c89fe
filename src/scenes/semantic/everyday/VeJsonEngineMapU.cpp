#include "scenes/semantic/everyday/VeJsonEngineMapU.h"

#include "host/CUtil.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/everyday/EverydayPages.h"

void VeJsonEngineMapU::Parse(VeJson& doc) {
    m_stdPlace = SlotNormValue(doc, "endLoc.ori_loc");
    if (m_stdPlace.empty()) m_stdPlace = SlotValue(doc, "endLoc.ori_loc");
}

int VeJsonEngineMapU::Execute() {
    if (!m_stdPlace.empty() && ContainsGbk(m_stdText, GBK("搜索")))
        CUtil::SearchInBaidu_unicode(m_stdPlace);
    else
        OpenMapSearch(m_stdPlace);
    return 1;
}
