#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneCmd : public VeBasicService {
public:
    NoltSceneCmd() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
