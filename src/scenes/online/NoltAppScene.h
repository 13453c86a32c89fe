#pragma once
// What the application and program-link replies share: the named program's action, then the
// reply's message on the system command table.
#include <string>

#include "scenes/online/NoltMessageScene.h"

class NoltAppScene : public NoltMessageScene {
public:
    void Parse(VeJson& doc) override;

    std::string m_stdApp;
    std::string m_stdAction;

protected:
    NoltAppScene() : NoltMessageScene(LogType_Application) {}

    // True when the action or the message was carried out; a close without a window of that
    // title is not, so the name-based steps still get their chance.
    bool RunActionOrMessage();
};
