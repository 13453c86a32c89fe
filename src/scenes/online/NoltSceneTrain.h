#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneTrain : public VeBasicService {
public:
    NoltSceneTrain() : VeBasicService(LogType_Train) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
