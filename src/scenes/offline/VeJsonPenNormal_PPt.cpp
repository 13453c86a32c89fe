#include "scenes/offline/VeJsonPenNormal_PPt.h"

#include "scenes/shared/PenCommands.h"

void VeJsonPenNormal_PPt::Parse(VeJson& doc) { ReadLaserControl(doc, m_stdText, m_stdCommand); }

int VeJsonPenNormal_PPt::Execute() { return RunNormalCommand(m_stdCommand, m_logType, m_hIcon); }
