#include "scenes/offline/VeJsonOffAsr.h"

#include "scenes/shared/PenCommands.h"

int VeJsonOffAsr::Execute() {
    if (m_stdText.empty()) return 0;
    return OpenSiteOrSystemCommand(WithoutOpenWord(m_stdText), m_logType, m_hIcon) ? 1 : 0;
}
