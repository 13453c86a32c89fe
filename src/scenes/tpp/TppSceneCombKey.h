#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneCombKey : public VeBasicService {
public:
    TppSceneCombKey() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
