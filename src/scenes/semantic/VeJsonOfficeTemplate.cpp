#include "scenes/semantic/VeJsonOfficeTemplate.h"

#include "host/VeChar.h"
#include "host/VeOffice.h"

void VeJsonOfficeTemplate::Parse(VeJson& doc) {
    m_stdTemplateName = doc.Get("semantic^slots^normValue");
    if (m_stdTemplateName.empty()) m_stdTemplateName = doc.Get("semantic^slots^value");
}

int VeJsonOfficeTemplate::Execute() {
    if (m_stdTemplateName.empty()) m_stdTemplateName = m_stdText;
    // No template has an empty name; the office library is not asked.
    if (m_stdTemplateName.empty()) return 0;
    CString name = VeChar::VeUnicodeChar_2_CString(m_stdTemplateName);
    CVeOffice office;
    return office.WordTemplate(name) ? 1 : 0;
}
