#include "scenes/tpp/TppSceneCmd.h"

#include "host/CUtil.h"
#include "scenes/shared/ApplicationActions.h"
#include "scenes/tpp/TppSceneDeclined.h"

int TppSceneCmd::Execute() {
    if (!SaidByUser(m_stdText, m_stdContent)) return DeclineTppScene(m_logType);
    // The engine chose the command; whether the host knew it is the host's to report.
    CUtil::OpenCommand(m_stdContent);
    return 1;
}
