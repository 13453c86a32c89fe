#include "scenes/online/NoltLocalScene.h"

#include "host/VeChar.h"
#include "scenes/shared/PenCommands.h"

int NoltLocalScene::Execute() {
    if (m_stdText.empty()) return 0;
    return OpenSiteOrSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdText), m_logType, m_hIcon) ? 1 : 0;
}
