#include "scenes/tpp/TppSceneNothing.h"

#include "scenes/shared/PenCommands.h"

int RunTppCommandText(const std::string& gbkText, LogType& logType, vewin::HICON& icon) {
    return OpenSiteOrSystemCommand(WithoutOpenWord(gbkText), logType, icon) ? 1 : 0;
}

int TppSceneNothing::Execute() {
    // Set first: the site search and the command table overwrite it only when they act.
    m_logType = LogType_NotCarriedOut;
    return RunTppCommandText(m_stdText, m_logType, m_hIcon);
}
