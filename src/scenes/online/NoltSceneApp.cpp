#include "scenes/online/NoltSceneApp.h"

#include "scenes/shared/ApplicationActions.h"

int NoltSceneApp::Execute() {
    if (auto verdict = RunActionOrMessage()) return *verdict;
    if (m_stdApp.empty()) return 0;
    if (!AppSaid()) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    OpenApplicationOrSearch(m_stdApp, m_logType, m_hIcon);
    return 1;
}
