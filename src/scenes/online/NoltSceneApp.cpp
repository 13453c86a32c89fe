#include "scenes/online/NoltSceneApp.h"

#include "scenes/shared/ApplicationActions.h"

int NoltSceneApp::Execute() {
    if (RunActionOrMessage()) return 1;
    if (m_stdApp.empty()) return 0;
    OpenApplicationOrSearch(m_stdApp, m_logType, m_hIcon);
    return 1;
}
