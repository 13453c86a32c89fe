#include "scenes/offline/VeJsonRc_4.h"

#include "host/VeChar.h"
#include "scenes/shared/PenCommands.h"

int VeJsonRc_4::Execute() {
    if (m_stdText.empty()) return 0;
    if (OpenSiteOrSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdText), m_logType, m_hIcon)) return 1;
    m_logType = LogType_NotCarriedOut;
    return 0;
}
