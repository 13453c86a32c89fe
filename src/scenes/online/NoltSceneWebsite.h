#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneWebsite : public VeBasicService {
public:
    NoltSceneWebsite() : VeBasicService(LogType_Website) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
    std::string m_stdWebsite;
    std::string m_stdAction;
};
