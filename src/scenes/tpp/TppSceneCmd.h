#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneCmd : public VeBasicService {
public:
    TppSceneCmd() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
