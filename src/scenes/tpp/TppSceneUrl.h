#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneUrl : public VeBasicService {
public:
    TppSceneUrl() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
