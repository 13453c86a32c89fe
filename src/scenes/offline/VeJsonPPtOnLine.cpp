#include "scenes/offline/VeJsonPPtOnLine.h"

#include "scenes/shared/PenCommands.h"

void VeJsonPPtOnLine::Parse(VeJson& doc) { ReadLaserControl(doc, m_stdText, m_stdCommand); }

int VeJsonPPtOnLine::Execute() { return RunSlideShowCommand(m_stdCommand, m_logType, m_hIcon); }
