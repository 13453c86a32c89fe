#include "scenes/tpp/TppSceneCmd.h"

#include "host/CUtil.h"
#include "scenes/tpp/TppSceneDeclined.h"

int TppSceneCmd::Execute() {
    if (m_stdContent.empty()) return DeclineTppScene(m_logType);
    // The engine chose the command: an identifier of the host's own (volume_up), not words the
    // user could have said, so the host's own table bounds it; whether the host knew it is the
    // host's to report.
    CUtil::OpenCommand(m_stdContent);
    return 1;
}
