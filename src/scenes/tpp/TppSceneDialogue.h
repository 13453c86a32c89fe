#pragma once
#include "scenes/base/VeBasicService.h"

// A chat, translation or joke answer for the answer window.
class TppSceneDialogue : public VeBasicService {
public:
    TppSceneDialogue() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
