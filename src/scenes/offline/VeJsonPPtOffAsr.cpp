#include "scenes/offline/VeJsonPPtOffAsr.h"

#include "scenes/shared/PenCommands.h"

int VeJsonPPtOffAsr::Execute() {
    if (m_stdText.empty()) return 0;
    return RunSlideShowCommand(m_stdText, m_logType, m_hIcon);
}
