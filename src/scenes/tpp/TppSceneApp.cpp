#include "scenes/tpp/TppSceneApp.h"

#include "host/VeChar.h"
#include "scenes/shared/ApplicationActions.h"
#include "scenes/tpp/TppSceneDeclined.h"

void TppSceneApp::Parse(VeJson& doc) {
    m_stdAction = doc.Get("content^action");
    m_stdAppName = doc.Get("content^appName");
    m_stdUrl = doc.Get("content^url");
    m_stdCmd = doc.Get("content^cmd");
    if (m_stdAction.empty()) m_stdAction = GBK("打开");
    if (m_stdAppName.empty()) m_stdAppName = m_stdText;
    m_logType = LogType_Application;
}

int TppSceneApp::Execute() {
    if (m_stdAppName.empty()) return DeclineTppScene(m_logType);
    const ActionOutcome outcome =
        RunApplicationAction(m_stdAction, m_stdAppName, m_logType, m_hIcon,
                             {.downloadTable = false, .links = {m_stdCmd, m_stdUrl}, .gbkUtterance = &m_stdText});
    return outcome == ActionOutcome::Declined ? DeclineTppScene(m_logType) : 1;
}
