#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneDialogue : public VeBasicService {
public:
    TppSceneDialogue() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
