#pragma once
// What the application and program-link replies share: the named program's action, then the
// reply's message on the system command table.
#include <optional>
#include <string>

#include "scenes/online/NoltMessageScene.h"

class NoltAppScene : public NoltMessageScene {
public:
    void Parse(VeJson& doc) override;

    std::string m_stdApp;
    std::string m_stdAction;

protected:
    NoltAppScene() : NoltMessageScene(LogType_Application) {}

    // The scene's verdict when the action or the message settled it (carried out, or declined
    // because the reply named what the user did not say); none when the name-based steps still
    // get their chance, as after a close without a window of that title.
    std::optional<int> RunActionOrMessage();
    // The reply's application is one the user named; a name the user did not say is noted.
    bool AppSaid();
};
