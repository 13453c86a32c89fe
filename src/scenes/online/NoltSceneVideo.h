#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneVideo : public VeBasicService {
public:
    NoltSceneVideo() : VeBasicService(LogType_Video) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
