#include "scenes/semantic/everyday/VeJsonMap.h"

#include <vector>

#include "host/CUtil.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/everyday/EverydayPages.h"

void VeJsonMap::Parse(VeJson& doc) {
    std::vector<std::string> names;
    doc.GetNodeTextVector("semantic^slots^name", names);
    for (const auto& name : names) {
        if (name == "firstword") continue;
        m_stdSlotName = name;
        break;
    }
    if (m_stdSlotName.empty()) return;
    m_stdPlace = SlotValue(doc, m_stdSlotName.c_str());
    if (m_stdPlace.empty()) m_stdPlace = SlotNormValue(doc, m_stdSlotName.c_str());
}

int VeJsonMap::Execute() {
    // A whole country is no place to look up on a city map.
    if (!m_stdPlace.empty() && m_stdSlotName == "country")
        CUtil::SearchInBaidu_unicode(m_stdPlace);
    else
        OpenMapSearch(m_stdPlace);
    return 1;
}
