#include "scenes/online/NoltSceneCmd.h"

#include "host/CUtil.h"

// The message names one of the host's own commands.
int NoltSceneCmd::Execute() { return !m_stdMessage.empty() && CUtil::OpenCommand(m_stdMessage) ? 1 : 0; }
