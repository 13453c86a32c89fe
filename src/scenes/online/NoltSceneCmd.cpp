#include "scenes/online/NoltSceneCmd.h"

#include "host/CUtil.h"
#include "scenes/shared/ApplicationActions.h"

// The message names one of the host's own commands, run only when the user said it.
int NoltSceneCmd::Execute() {
    if (m_stdMessage.empty()) return 0;
    if (!SaidByUser(m_stdText, m_stdMessage)) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    return CUtil::OpenCommand(m_stdMessage) ? 1 : 0;
}
