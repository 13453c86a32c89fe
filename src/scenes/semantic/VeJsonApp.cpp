#include "scenes/semantic/VeJsonApp.h"

#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/ApplicationActions.h"

void VeJsonApp::Parse(VeJson& doc) {
    for (const char* slot : {"application", "app"}) {
        if (m_stdAppName.empty()) m_stdAppName = SlotValue(doc, slot);
        if (m_stdAppName.empty()) m_stdAppName = SlotNormValue(doc, slot);
    }
    if (m_stdAppName.empty()) m_stdAppName = m_stdText;
    m_stdAction = SlotNormValue(doc, "action");
}

int VeJsonApp::Execute() {
    if (m_stdAppName.empty()) return 0;
    // A download starts a program the desktop already has rather than downloading it again.
    return RunApplicationAction(m_stdAction, m_stdAppName, m_logType, m_hIcon, {}) == ActionOutcome::Declined ? 0 : 1;
}
