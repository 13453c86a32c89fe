#include "scenes/tpp/TppSceneOffline.h"

#include "scenes/shared/ApplicationActions.h"
#include "scenes/tpp/TppSceneDeclined.h"
#include "scenes/tpp/TppSceneNothing.h"

void TppSceneOffline::Parse(VeJson& doc) {
    m_stdContent = doc.Get("content");
    if (m_stdContent.empty()) m_stdContent = m_stdText;
    m_logType = doc.Get("scene") == "VELMORA.application" ? LogType_Application : LogType_Base;
}

int TppSceneOffline::Execute() {
    if (SaidByUser(m_stdText, m_stdContent) && RunTppCommandText(m_stdContent, m_logType, m_hIcon)) return 1;
    return DeclineTppScene(m_logType);
}
