#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneChat : public VeBasicService {
public:
    NoltSceneChat() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
