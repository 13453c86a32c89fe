#pragma once
#include <string>

#include "scenes/online/NoltMessageScene.h"

class NoltSceneWebsite : public NoltMessageScene {
public:
    NoltSceneWebsite() : NoltMessageScene(LogType_Website) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdWebsite;
    std::string m_stdAction;
};
