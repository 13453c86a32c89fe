#include "scenes/semantic/VeJsonHotkey.h"

#include "host/CUtil.h"
#include "host/VeChar.h"
#include "local/SystemCommand.h"
#include "scenes/semantic/SemanticSlots.h"

void VeJsonHotkey::Parse(VeJson& doc) {
    m_stdValue = SlotValue(doc, "hotkey");
    m_stdNormValue = SlotNormValue(doc, "hotkey");
    if (m_stdValue.empty() && m_stdNormValue.empty()) m_stdNormValue = m_stdText;
}

int VeJsonHotkey::Execute() {
    // A search for nothing is no answer.
    if (m_stdNormValue.empty() && m_stdValue.empty()) return 0;
    for (const std::string* text : {&m_stdNormValue, &m_stdValue})
        if (RunSystemCommand(VeChar::VeUnicodeChar_2_CString(*text), m_logType, m_hIcon)) return 1;
    CUtil::SearchInBaidu_unicode(m_stdNormValue.empty() ? m_stdValue : m_stdNormValue);
    return 1;
}
