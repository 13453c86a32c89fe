#include "scenes/offline/VeJsonPenNormal_OffAsr.h"

#include "scenes/shared/PenCommands.h"

int VeJsonPenNormal_OffAsr::Execute() {
    if (m_stdText.empty()) return 0;
    return RunNormalCommand(m_stdText, m_logType, m_hIcon);
}
