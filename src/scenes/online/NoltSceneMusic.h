#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneMusic : public VeBasicService {
public:
    NoltSceneMusic() : VeBasicService(LogType_Music) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
