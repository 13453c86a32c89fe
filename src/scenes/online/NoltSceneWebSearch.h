#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneWebSearch : public VeBasicService {
public:
    NoltSceneWebSearch() : VeBasicService(LogType_WebSearch) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
